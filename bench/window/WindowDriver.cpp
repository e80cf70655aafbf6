// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Times the real main window on a real display (Xvfb in run-window-bench.sh): from the key
// event that starts a turn (Enter in Say1) or a paste (Ctrl+V in Say1) to the end of the
// repaint that shows the result. The application's notify() sees every event the window
// gets; a repaint is done when the outermost event during which the watched widget was
// painted returns (the paint and the flush to the display happen inside it). The time taken
// is the end of the last such repaint before the window has been quiet for a while.
#include "RealWindow.h"
#include "RoomToGrow.h"
#include "ui/frmAddeditems.h"
#include "ui/frmFontSize.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <limits>
#include <random>

#include <time.h>
#include <unistd.h>

using namespace jabbly;

namespace {

// CPU time of this thread, ns: on a busy machine it shows how much of the wall time was
// the program's own work.
qint64 cpuNow()
{
    timespec ts;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return qint64(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

class TimingApplication : public QApplication {
public:
    using QApplication::QApplication;

    bool notify(QObject *receiver, QEvent *event) override
    {
        const bool paint = event->type() == QEvent::Paint;
        if (paint && receiver == watched)
            paintedWatched = true;
        const qint64 cpuBefore = paint ? cpuNow() : 0;
        ++depth;
        const bool result = QApplication::notify(receiver, event);
        if (paint && recordPaints)
            paintCpu[QString::fromLatin1(receiver->metaObject()->className())] += cpuNow() - cpuBefore;
        if (--depth == 0 && paintedWatched) {
            paintedWatched = false;
            lastPaintEnd = clock.nsecsElapsed();
            lastPaintEndCpu = cpuNow();
            if (firstPaintEnd < 0)
                firstPaintEnd = lastPaintEnd;
            if (onPainted)
                onPainted();
        }
        return result;
    }

    QElapsedTimer clock;
    QObject *watched = nullptr;
    qint64 firstPaintEnd = -1;
    qint64 lastPaintEnd = -1;
    qint64 lastPaintEndCpu = -1;
    // CPU time spent in the paint events of each kind of widget while recordPaints is set.
    bool recordPaints = false;
    QMap<QString, qint64> paintCpu;
    std::function<void()> onPainted;

private:
    int depth = 0;
    bool paintedWatched = false;
};

TimingApplication *timing() { return static_cast<TimingApplication *>(qApp); }

// Runs the event loop until `quietMs` have passed without a repaint of the watched widget.
void waitUntilQuiet(int quietMs)
{
    QEventLoop loop;
    QTimer quiet;
    quiet.setSingleShot(true);
    quiet.setInterval(quietMs);
    QObject::connect(&quiet, &QTimer::timeout, &loop, &QEventLoop::quit);
    timing()->onPainted = [&] { quiet.start(); };
    quiet.start();
    loop.exec();
    timing()->onPainted = nullptr;
}

struct Figures {
    QList<double> toRepaint;                // ms, key event to the end of the last repaint
    QList<double> handler;                  // ms, key event handled (the turn itself)
    QList<double> cpu;                      // ms of this thread's CPU time, key event to the end of the last repaint
    QList<double> handlerCpu;               // ms of this thread's CPU time in the handler
    QMap<QString, QList<double>> paintCpu;  // ms of CPU time in paint events, by widget class
};

double median(QList<double> v)
{
    std::sort(v.begin(), v.end());
    return v.isEmpty() ? 0 : v.at(v.size() / 2);
}

void report(const char *name, const Figures &f, double targetMs)
{
    const auto [lo, hi] = std::minmax_element(f.toRepaint.cbegin(), f.toRepaint.cend());
    const double med = median(f.toRepaint);
    std::printf("%-36s %3lld runs  key->repaint median %9.3f ms (min %9.3f, max %9.3f), CPU %9.3f ms;"
                " handler %9.3f ms, CPU %9.3f ms",
                name, static_cast<long long>(f.toRepaint.size()), med, *lo, *hi, median(f.cpu), median(f.handler),
                median(f.handlerCpu));
    if (targetMs > 0)
        std::printf("  target < %g ms: %s", targetMs, med < targetMs ? "met" : "MISSED");
    std::printf("\n");
    if (!f.paintCpu.isEmpty()) {
        std::printf("%-36s     paint CPU median by widget:", "");
        for (auto it = f.paintCpu.cbegin(); it != f.paintCpu.cend(); ++it)
            std::printf(" %s %.3f ms", qPrintable(it.key()), median(it.value()));
        std::printf("\n");
    }
    std::fflush(stdout);
}

// Resident memory of this process, MB.
double residentMb()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.value(1).toDouble() * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

// The user's line of soak turn `turn`: 20 known words with 2 new ones, and every 20th turn a
// long pasted line of 200 words (about 1,500 characters) with 10 new ones.
QString soakLine(int turn, const QStringList &known)
{
    const bool longLine = turn % 20 == 19;
    const int words = longLine ? 200 : 20;
    const int every = longLine ? 20 : 10;
    QStringList parts;
    for (int i = 0; i < words; ++i)
        parts << (i % every == every - 1 ? QStringLiteral("soak%1w%2").arg(turn).arg(i)
                                         : known.at((turn * 131 + i * 7919) % known.size()));
    return parts.join(u' ');
}

struct SoakFigures {
    QList<std::pair<int, double>> rss;  // after so many turns, MB
    QList<double> turnCpu;              // ms of CPU time, each turn: key event to repaint done
};

void writeSoakJson(const QString &path, const QString &name, const SoakFigures &f)
{
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Append))
        qFatal("cannot write %s", qPrintable(path));
    QString json = QStringLiteral("{\"name\": \"%1\", \"rss_mb\": [").arg(name);
    for (qsizetype i = 0; i < f.rss.size(); ++i)
        json +=
            QStringLiteral("%1[%2, %3]").arg(i ? ", " : "").arg(f.rss.at(i).first).arg(f.rss.at(i).second, 0, 'f', 2);
    json += QStringLiteral("]}\n");
    out.write(json.toUtf8());
}

// One timed Enter in `input` holding `line`: from the key event to the end of the last
// repaint of the watched widget, with the paint CPU time of each kind of widget.
void timeReturn(Figures &f, QLineEdit &input, const QString &line)
{
    input.setText(line);
    waitUntilQuiet(60);
    timing()->firstPaintEnd = timing()->lastPaintEnd = -1;
    timing()->paintCpu.clear();
    timing()->recordPaints = true;
    const qint64 startCpu = cpuNow();
    const qint64 start = timing()->clock.nsecsElapsed();
    QTest::keyClick(&input, Qt::Key_Return);
    const qint64 handled = timing()->clock.nsecsElapsed();
    f.handlerCpu << (cpuNow() - startCpu) / 1e6;
    waitUntilQuiet(250);
    timing()->recordPaints = false;
    for (auto it = timing()->paintCpu.cbegin(); it != timing()->paintCpu.cend(); ++it)
        f.paintCpu[it.key()] << it.value() / 1e6;
    if (timing()->lastPaintEnd < 0)
        qFatal("the watched view was not repainted");
    f.toRepaint << (timing()->lastPaintEnd - start) / 1e6;
    f.cpu << (timing()->lastPaintEndCpu - startCpu) / 1e6;
    f.handler << (handled - start) / 1e6;
}

void setUpBare(QTextEdit &bare, const QFont &font)
{
    bare.setReadOnly(true);
    bare.setUndoRedoEnabled(false);
    bare.setFont(font);
}

// One turn's four writes, as plain cursor insertions at the end of a bare QTextEdit.
void writeBareTurn(QTextEdit &bare, const QString &line, const QString &reply)
{
    const auto write = [&bare](bool newLine, const QColor &colour, const QString &text) {
        QTextCursor cursor(bare.document());
        cursor.movePosition(QTextCursor::End);
        QTextCharFormat format = cursor.charFormat();
        format.setForeground(colour);
        if (newLine)
            cursor.insertBlock(cursor.blockFormat(), format);
        cursor.insertText(text, format);
        bare.setTextCursor(cursor);
        bare.ensureCursorVisible();
    };
    write(true, Qt::blue, QStringLiteral("Human: "));
    write(false, Qt::red, line);
    write(true, Qt::blue, QStringLiteral("CPU: "));
    write(false, QColor(0, 128, 0), reply);
}

class Driver {
public:
    Driver()
    {
        std::mt19937 gen(20240607);
        const QStringList all = bench::randomWords(ItemList::MaxItems + 4000, gen);
        full_ = all.mid(0, ItemList::MaxItems);
        roomy_ = all.mid(0, 29000);
        // The delivered reply templates.
        QFile delivered(QStringLiteral(JABBLY_BENCH_BIN_DIR "/cpu.txt"));
        if (!delivered.open(QIODevice::ReadOnly))
            qFatal("no cpu.txt beside the program");
        bench::writeFile(dir_.filePath("cpu.txt"), delivered.readAll());
        window_ = std::make_unique<frmJabbly>(bench::realSessionServices(dir_.path(), nullptr),
                                              bench::realWindowServices(), QStringList{});
        if (!window_->Form_Load())
            qFatal("start-up failed");
        templates_ = window_->session().HidCPU().items();
        window_->show();
        if (!QTest::qWaitForWindowExposed(window_.get()))
            qFatal("the window was never shown");
        window_->activateWindow();
        window_->Say1()->setFocus();
    }

    ~Driver()
    {
        // Nothing to save.
        window_->session().HidWord().Clear();
    }

    // One turn per run: `prepare` sets the lists up (not timed), then Enter in Say1.
    Figures turns(int runs, const QString &line, const std::function<void()> &prepare)
    {
        Figures f;
        QLineEdit *Say1 = window_->Say1();
        timing()->watched = window_->WW()->viewport();
        for (int i = 0; i < runs; ++i) {
            prepare();
            // A conversation of 50 to 400 lines; longer lines are cleared every run.
            if (line.size() > 1000 || window_->WW()->document()->blockCount() > 400)
                fillTranscript(50);
            timeReturn(f, *Say1, line);
        }
        return f;
    }

    // `turns` turns through Say1 and Enter, each one painted before the next; the transcript is
    // cleared (as Clear does) every `clearEvery` turns when that is not 0. RSS is noted after
    // each of `checkpoints` turns.
    SoakFigures soak(int turns, int clearEvery, const QList<int> &checkpoints, const QStringList &known)
    {
        SoakFigures f;
        QLineEdit *Say1 = window_->Say1();
        for (int turn = 0; turn < turns; ++turn) {
            if (clearEvery > 0 && turn > 0 && turn % clearEvery == 0)
                clearTranscript();
            Say1->setText(soakLine(turn, known));
            const qint64 startCpu = cpuNow();
            QTest::keyClick(Say1, Qt::Key_Return);
            QCoreApplication::processEvents();
            f.turnCpu << (cpuNow() - startCpu) / 1e6;
            if (checkpoints.contains(turn + 1))
                f.rss << std::pair(turn + 1, residentMb());
        }
        return f;
    }

    // The same user lines and "CPU: " with each delivered template in turn, written by four
    // plain cursor insertions into a bare QTextEdit of the transcript's size and font, shown
    // and painted after each turn: what the transcript's memory is measured against.
    SoakFigures bareSoak(int turns, const QList<int> &checkpoints, const QStringList &known)
    {
        SoakFigures f;
        QTextEdit bare;
        setUpBare(bare, window_->WW()->font());
        bare.resize(window_->WW()->size());
        bare.show();
        if (!QTest::qWaitForWindowExposed(&bare))
            qFatal("the bare text edit was never shown");
        for (int turn = 0; turn < turns; ++turn) {
            const qint64 startCpu = cpuNow();
            writeBareTurn(bare, soakLine(turn, known), templates_.at(turn % templates_.size()));
            QCoreApplication::processEvents();
            f.turnCpu << (cpuNow() - startCpu) / 1e6;
            if (checkpoints.contains(turn + 1))
                f.rss << std::pair(turn + 1, residentMb());
        }
        return f;
    }

    // The baseline of a turn: Enter in a bare QLineEdit holding `line` writes the user's line
    // and `reply` into a bare QTextEdit by four plain cursor insertions and selects the line
    // again, in a window laid out as the main window (no learning, no reply to compose).
    Figures bareTurns(int runs, const QString &line, const QString &reply)
    {
        QWidget window;
        auto *bare = new QTextEdit(&window);
        auto *input = new QLineEdit(&window);
        setUpBare(*bare, window_->WW()->font());
        input->setFont(window_->Say1()->font());
        input->setMaxLength(std::numeric_limits<int>::max());
        bare->setGeometry(window_->WW()->geometry());
        input->setGeometry(window_->Say1()->geometry());
        QObject::connect(input, &QLineEdit::returnPressed, bare, [&] {
            writeBareTurn(*bare, input->text(), reply);
            input->selectAll();
        });
        window.resize(window_->size());
        window.show();
        if (!QTest::qWaitForWindowExposed(&window))
            qFatal("the bare window was never shown");
        window.activateWindow();
        input->setFocus();

        Figures f;
        timing()->watched = bare->viewport();
        for (int i = 0; i < runs; ++i) {
            bare->clear();
            timeReturn(f, *input, line);
        }
        return f;
    }

    // A size chosen with the arrow keys in the font window over a transcript of `lines` lines,
    // and a key typed in Say1 straight after: from the arrow key's event to the end of the
    // repaint that shows the typed key (the window answering while the rest of the text is
    // still being laid out).
    Figures sizeChanges(int runs, int lines)
    {
        fillTranscript(lines);
        window_->mnuFontSize_Click();
        QListView *sizes = window_->fontSize().lstSizeView();
        QLineEdit *Say1 = window_->Say1();
        TextEditTranscript &WW = window_->transcriptView();
        Figures f;
        timing()->watched = Say1;
        for (int i = 0; i < runs; ++i) {
            Say1->clear();
            while (WW.layingOut())
                QCoreApplication::processEvents();
            waitUntilQuiet(100);
            timing()->firstPaintEnd = timing()->lastPaintEnd = -1;
            const qint64 startCpu = cpuNow();
            const qint64 start = timing()->clock.nsecsElapsed();
            QTest::keyClick(sizes, i % 2 ? Qt::Key_Up : Qt::Key_Down);
            const qint64 handled = timing()->clock.nsecsElapsed();
            f.handlerCpu << (cpuNow() - startCpu) / 1e6;
            QCoreApplication::postEvent(
                Say1, new QKeyEvent(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x")));
            while (timing()->firstPaintEnd < 0)
                QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
            if (Say1->text() != QLatin1String("x"))
                qFatal("the typed key was not shown");
            f.toRepaint << (timing()->firstPaintEnd - start) / 1e6;
            f.cpu << (timing()->lastPaintEndCpu - startCpu) / 1e6;
            f.handler << (handled - start) / 1e6;
        }
        window_->fontSize().close();
        Say1->clear();
        clearTranscript();
        return f;
    }

    // The text of the transcript's last reply, without its "CPU: ".
    QString lastReply() const
    {
        const QString last = window_->WW()->document()->lastBlock().text();
        return last.mid(last.indexOf(u' ') + 1);
    }

    void clearTranscript()
    {
        TextEditTranscript &WW = window_->transcriptView();
        WW.clear();
        WW.insVersionLine();
    }

    // Ctrl+V of `text` into an empty Say1.
    Figures pastes(int runs, const QString &text)
    {
        Figures f;
        QLineEdit *Say1 = window_->Say1();
        timing()->watched = Say1;
        QApplication::clipboard()->setText(text);
        for (int i = 0; i < runs; ++i) {
            Say1->clear();
            waitUntilQuiet(150);
            timing()->firstPaintEnd = timing()->lastPaintEnd = -1;
            const qint64 startCpu = cpuNow();
            const qint64 start = timing()->clock.nsecsElapsed();
            QTest::keyClick(Say1, Qt::Key_V, Qt::ControlModifier);
            const qint64 handled = timing()->clock.nsecsElapsed();
            f.handlerCpu << (cpuNow() - startCpu) / 1e6;
            // The first repaint shows the pasted text; later ones are the cursor blinking.
            const qint64 firstEndCpu = [] {
                QEventLoop loop;
                qint64 cpu = -1;
                timing()->onPainted = [&] {
                    cpu = cpuNow();
                    loop.quit();
                };
                QTimer::singleShot(60000, &loop, &QEventLoop::quit);
                loop.exec();
                timing()->onPainted = nullptr;
                return cpu;
            }();
            waitUntilQuiet(100);
            if (Say1->text().size() != text.size())
                qFatal("the paste did not arrive (%lld of %lld characters)",
                       static_cast<long long>(Say1->text().size()), static_cast<long long>(text.size()));
            f.toRepaint << (timing()->firstPaintEnd - start) / 1e6;
            f.cpu << (firstEndCpu - startCpu) / 1e6;
            f.handler << (handled - start) / 1e6;
        }
        Say1->clear();
        return f;
    }

    // A line of `count` words: every third one new (when `thirdNew`), the rest known.
    QString line(int count, bool thirdNew, const QStringList &known) const
    {
        QStringList parts;
        for (int i = 0; i < count; ++i)
            parts << (thirdNew && i % 3 == 2 ? QStringLiteral("new%1x").arg(i) : known.at((i * 7919) % known.size()));
        return parts.join(u' ');
    }

    void useWords(const QStringList &words)
    {
        ItemListModel &HidWord = window_->session().HidWord();
        HidWord.Clear();
        HidWord.AddItems(bench::withRoomToGrow(words));
        if (window_->addedItemsLoaded())
            window_->addedItems().lstAI().Clear();
    }

    void useTemplates(const QStringList &lines)
    {
        ItemListModel &HidCPU = window_->session().HidCPU();
        HidCPU.Clear();
        HidCPU.AddItems(lines);
    }

    const QStringList &full() const { return full_; }
    const QStringList &roomy() const { return roomy_; }
    const QStringList &templates() const { return templates_; }

private:
    // The version line and `lines` lines of earlier conversation, laid out.
    void fillTranscript(int lines)
    {
        TextEditTranscript &WW = window_->transcriptView();
        WW.clear();
        WW.insVersionLine();
        {
            const Transcript::Batch batch(WW);
            for (int i = 0; i < lines / 2; ++i) {
                WW.insName(QStringLiteral("Human: "));
                WW.insSayPerson(QStringLiteral("I like green apples and long walks, number %1").arg(i));
                WW.insName(QStringLiteral("CPU: "));
                WW.insSayCPU(QStringLiteral("When I grow up I want to be a walk. Or an apple. Or both."));
            }
        }
        while (WW.layingOut())
            QCoreApplication::processEvents();
    }

    QTemporaryDir dir_;
    QStringList full_, roomy_, templates_;
    std::unique_ptr<frmJabbly> window_;
};

QString longWord(qsizetype length)
{
    QString w(length, Qt::Uninitialized);
    for (qsizetype i = 0; i < length; ++i)
        w[i] = QChar(static_cast<char16_t>(u'a' + i % 25));  // a..y: never ends in "s"
    return w;
}

// `length` characters of words from `known` with a blank after each (the last one may be
// cut short, and then be new).
QString lineWithBlanks(qsizetype length, const QStringList &known)
{
    QString s;
    s.reserve(length + 16);
    for (int i = 0; s.size() < length; ++i) {
        s += known.at((i * 7919) % known.size());
        s += u' ';
    }
    s.truncate(length);
    return s;
}

}  // namespace

int main(int argc, char **argv)
{
    TimingApplication app(argc, argv);
    app.clock.start();
    // Arguments: scenario names, each optionally with "=runs".
    // --json=FILE appends the memory figures of the soak scenarios to FILE, one object a line.
    QMap<QString, int> only;
    QString json;
    for (const QString &a : app.arguments().mid(1)) {
        if (a.startsWith(QLatin1String("--json=")))
            json = a.mid(7);
        else
            only.insert(a.section(u'=', 0, 0), a.section(u'=', 1).toInt());
    }
    const auto wanted = [&](const char *name) { return only.isEmpty() || only.contains(QLatin1String(name)); };
    const auto runs = [&](const char *name, int standard) {
        const int n = only.value(QLatin1String(name));
        return n > 0 ? n : standard;
    };

    Driver d;
    const QStringList quote{QStringLiteral("So you say £WORD1£, £NAME£?")};
    const QStringList plain{QStringLiteral("Go on, £NAME£.")};

    if (wanted("turn20")) {
        const QString line = d.line(20, false, d.full());
        d.useWords(d.full());
        d.useTemplates(d.templates());
        report("turn20 (full word list)", d.turns(runs("turn20", 100), line, [&] {}), 0.25);
    }
    if (wanted("turn20-third-new")) {
        const QString line = d.line(20, true, d.roomy());
        d.useTemplates(d.templates());
        report("turn20-third-new (29,000 words)",
               d.turns(runs("turn20-third-new", 100), line, [&] { d.useWords(d.roomy()); }), 0.25);
        report("  baseline: the same writes, bare", d.bareTurns(runs("turn20-third-new", 100), line, d.lastReply()), 0);
    }
    if (wanted("turn10000-third-new")) {
        const QString line = d.line(10000, true, d.roomy());
        d.useTemplates(d.templates());
        report("turn10000-third-new (29,000 words)",
               d.turns(runs("turn10000-third-new", 15), line, [&] { d.useWords(d.roomy()); }), 50);
        report("  baseline: the same writes, bare", d.bareTurns(runs("turn10000-third-new", 15), line, d.lastReply()),
               0);
        d.useWords(d.full());
    }
    if (wanted("reply100k")) {
        // The word list holds only the new word when the reply is composed: the reply quotes it.
        d.useTemplates(quote);
        report("reply100k (echo + reply quote it)",
               d.turns(runs("reply100k", 5), longWord(100000), [&] { d.useWords({}); }), 300);
        d.useWords(d.full());
    }
    if (wanted("word1m")) {
        d.useTemplates(plain);
        report("word1m (echo only)", d.turns(runs("word1m", 3), longWord(1000000), [&] { d.useWords(d.roomy()); }), 0);
    }
    if (wanted("blanks1m")) {
        d.useWords(d.full());  // every word of the line is known
        d.useTemplates(plain);
        report("blanks1m (echo only)", d.turns(runs("blanks1m", 3), lineWithBlanks(1000000, d.full()), [&] {}), 0);
    }
    if (wanted("reply1m")) {
        d.useTemplates(quote);
        report("reply1m (echo + reply quote it)",
               d.turns(runs("reply1m", 3), longWord(1000000), [&] { d.useWords({}); }), 0);
        d.useWords(d.full());
    }
    if (wanted("size100k"))
        report("size100k, then a key in Say1", d.sizeChanges(runs("size100k", 6), 100000), 100);
    if (wanted("paste100k"))
        report("paste100k into Say1", d.pastes(runs("paste100k", 5), longWord(100000)), 0);
    if (wanted("paste1m"))
        report("paste1m into Say1", d.pastes(runs("paste1m", 3), longWord(1000000)), 0);
    // Scenarios that run only when asked for by name: each measures the memory of one process.
    const auto asked = [&](const char *name) { return only.contains(QLatin1String(name)); };
    const QList<int> checkpoints{100, 1000, 10000};
    const auto soakReport = [&](const char *name, const SoakFigures &f) {
        const int n = static_cast<int>(f.turnCpu.size());
        const int window = std::min(100, n / 2);
        const double first = median(f.turnCpu.mid(0, window)), last = median(f.turnCpu.mid(n - window));
        std::printf("%-36s %5d turns  RSS", name, n);
        for (const auto &[turns, mb] : f.rss)
            std::printf("  %d: %.1f MB", turns, mb);
        std::printf("\n%-36s CPU per turn, median of the first %d %.3f ms, of the last %d %.3f ms\n", "", window, first,
                    window, last);
        std::fflush(stdout);
        if (!json.isEmpty())
            writeSoakJson(json, QLatin1String(name), f);
    };
    // 8,000 known words at the start; the soak turns learn about 24,000 more.
    const QStringList known = d.roomy().mid(0, 8000);
    if (asked("soak")) {
        // Learning all the way, long lines, the transcript cleared every 1,000 turns.
        d.useWords(known);
        d.useTemplates(d.templates());
        const int turns = runs("soak", 10000);
        const SoakFigures f = d.soak(turns, 1000, {100, turns}, known);
        soakReport("soak (cleared every 1,000 turns)", f);
        if (f.rss.size() == 2)
            std::printf("%-36s RSS at the end %+.1f%% of RSS after 100 turns (target within 10%%)\n", "",
                        100 * (f.rss.at(1).second / f.rss.at(0).second - 1));
    }
    if (asked("growth")) {
        d.useWords(known);
        d.useTemplates(d.templates());
        soakReport("growth (never cleared)", d.soak(runs("growth", 10000), 0, checkpoints, known));
    }
    if (asked("growth-bare"))
        soakReport("growth-bare (bare QTextEdit)", d.bareSoak(runs("growth-bare", 10000), checkpoints, known));
    return 0;
}
