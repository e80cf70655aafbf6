# Draws the scaling curves from the data files that curves.py writes.
#   gnuplot -e "data='DIR'; out='FILE.png'" bench/curves.gp
set terminal pngcairo size 1200,330 font "DejaVu Sans,9"
set output out
set multiplot layout 1,4
set key top left box opaque
set grid
set logscale x
set format x "%.0s%c"

set title "Turn, 20 words, 7 new"
set xlabel "known words"
set ylabel "CPU ms"
set yrange [0:*]
plot data."/turn.dat" using 1:2 with linespoints title "turn", \
     "" using 1:3 with lines dashtype 2 title "its 4 transcript writes"

set title "Font and size change"
set xlabel "transcript lines"
set logscale y
set yrange [*:*]
plot data."/font.dat" using 1:2 with linespoints title "font", \
     "" using 1:3 with lines dashtype 2 title "Qt merge (font)", \
     data."/size.dat" using 1:2 with linespoints title "size", \
     "" using 1:3 with lines dashtype 2 title "Qt merge (size)"

set title "Export"
plot data."/export.dat" using 1:2 with linespoints title "RTF export", \
     "" using 1:3 with lines dashtype 2 title "plain-text write"

set title "Memory of a transcript never cleared"
set xlabel "turns"
set ylabel "RSS MB"
unset logscale y
set yrange [0:*]
plot data."/memory.dat" using 1:2 with linespoints title "Jabbly", \
     "" using 1:3 with linespoints dashtype 2 title "bare QTextEdit"
unset multiplot
