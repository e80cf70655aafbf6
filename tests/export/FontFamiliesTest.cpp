// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The font window's families, and the fonts the RTF export names: each family once, by its
// own name, tagged with the pitch of the font really drawn; read back by LibreOffice.
#include "ui/FontFamilies.h"
#include "ui/RtfWriter.h"
#include "ui/TextEditTranscript.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QUrl>

#include "QtPrinters.h"

#include <gtest/gtest.h>

using namespace jabbly;

namespace {

// The font table of `rtf`: family name -> its control words ("\fnil\fprq2").
QMap<QString, QString> fontTable(const QByteArray &rtf)
{
    QMap<QString, QString> table;
    const QString text = QString::fromLatin1(rtf);
    const qsizetype start = text.indexOf(QStringLiteral("{\\fonttbl"));
    const qsizetype end = text.indexOf(QStringLiteral("}}"), start);
    static const QRegularExpression entry(QStringLiteral(R"(\{\\f\d+((?:\\[a-z]+\d*)*) ([^;]*);\})"));
    for (auto it = entry.globalMatch(text.mid(start, end - start + 1)); it.hasNext();) {
        const auto m = it.next();
        table.insert(m.captured(2), m.captured(1));
    }
    return table;
}

// A family of the display's fonts that is drawn in proportional pitch, listed by Qt with its
// foundry when the machine has one like that (most do: the URW fonts come twice).
QString proportionalFamily()
{
    QString plain;
    for (const QString &family : QFontDatabase::families()) {
        if (QFontDatabase::isFixedPitch(family) || QFontInfo(QFont(family)).fixedPitch())
            continue;
        if (family.endsWith(u']'))
            return family;
        if (plain.isEmpty())
            plain = family;
    }
    return plain;
}

struct LibreOfficeRead {
    QStringList fontFaces;  // the font families of the document, as LibreOffice names them
    QString text;
    QString error;
};

// `rtf` opened by LibreOffice and saved as OpenDocument: what it makes of the fonts.
LibreOfficeRead readWithLibreOffice(const QByteArray &rtf)
{
    LibreOfficeRead out;
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    const QString unzip = QStandardPaths::findExecutable(QStringLiteral("unzip"));
    if (soffice.isEmpty() || unzip.isEmpty()) {
        out.error = QStringLiteral("soffice or unzip is not installed (libreoffice-writer-nogui, unzip; "
                                   "scripts/install-deps.sh installs them)");
        return out;
    }
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("export.rtf")));
    if (!file.open(QIODevice::WriteOnly) || file.write(rtf) != rtf.size()) {
        out.error = QStringLiteral("cannot write ") + file.fileName();
        return out;
    }
    file.close();
    QProcess convert;
    // A profile of its own: LibreOffice must not touch (or wait for) the user's.
    convert.start(soffice, {QStringLiteral("--headless"), QStringLiteral("--norestore"),
                            QStringLiteral("-env:UserInstallation=") +
                                QUrl::fromLocalFile(dir.filePath(QStringLiteral("profile"))).toString(),
                            QStringLiteral("--convert-to"), QStringLiteral("odt"), QStringLiteral("--outdir"),
                            dir.path(), file.fileName()});
    if (!convert.waitForFinished(150000) || convert.exitCode() != 0) {
        convert.kill();
        out.error = QStringLiteral("LibreOffice could not convert the export: ") +
                    QString::fromLocal8Bit(convert.readAllStandardError());
        return out;
    }
    QProcess content;
    content.start(unzip,
                  {QStringLiteral("-p"), dir.filePath(QStringLiteral("export.odt")), QStringLiteral("content.xml")});
    if (!content.waitForFinished(30000) || content.exitCode() != 0) {
        out.error = QStringLiteral("no content.xml in LibreOffice's document");
        return out;
    }
    const QString xml = QString::fromUtf8(content.readAllStandardOutput());
    static const QRegularExpression face(QStringLiteral(R"re(<style:font-face [^>]*svg:font-family="([^"]*)")re"));
    for (auto it = face.globalMatch(xml); it.hasNext();)
        out.fontFaces.append(it.next().captured(1).remove(QStringLiteral("&apos;")));
    static const QRegularExpression tags(QStringLiteral("<[^>]*>"));
    out.text = QString(xml).remove(tags);
    return out;
}

}  // namespace

TEST(FontChoices, EachFamilyOnceUnlessItsFoundriesDifferInPitch)
{
    const QStringList listed = {QStringLiteral("C059 [UKWN]"),
                                QStringLiteral("C059 [urw]"),
                                QStringLiteral("Nimbus Mono PS [urw]"),
                                QStringLiteral("Nimbus Mono PS [UKWN]"),
                                QStringLiteral("Odd [fixed]"),
                                QStringLiteral("DejaVu Sans"),
                                QStringLiteral("Odd [wide]"),
                                QString(),
                                QStringLiteral("  "),
                                QStringLiteral("Brackets [in] name")};
    const auto fixed = [](const QString &family) {
        return family.startsWith(QLatin1String("Nimbus Mono")) || family == QLatin1String("Odd [fixed]");
    };
    EXPECT_EQ(fontChoices(listed, fixed),
              (QStringList{QStringLiteral("C059"), QStringLiteral("Nimbus Mono PS"), QStringLiteral("Odd [fixed]"),
                           QStringLiteral("DejaVu Sans"), QStringLiteral("Odd [wide]"),
                           QStringLiteral("Brackets [in] name")}));
    EXPECT_EQ(familyWithoutFoundry(QStringLiteral("D050000L [URW ]")), QStringLiteral("D050000L"));
    EXPECT_EQ(familyWithoutFoundry(QStringLiteral("[odd]")), QStringLiteral("[odd]"));

    // The display's own list: no family twice.
    const QStringList display = displayFontChoices();
    ASSERT_FALSE(display.isEmpty());
    QSet<QString> seen;
    for (const QString &family : display) {
        EXPECT_FALSE(seen.contains(family)) << family.toStdString();
        seen.insert(family);
        if (family.endsWith(u']')) {
            EXPECT_FALSE(seen.contains(familyWithoutFoundry(family))) << family.toStdString();
        }
    }
}

TEST(ExportedFonts, AreNamedWithoutTheirFoundryAndTaggedByTheirRealPitch)
{
    const QString chosen = proportionalFamily();
    ASSERT_FALSE(chosen.isEmpty()) << "this machine has no proportional font";
    const QString fixedFamily = QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
    ASSERT_TRUE(QFontInfo(QFont(fixedFamily)).fixedPitch()) << fixedFamily.toStdString();

    QTextEdit edit;
    TextEditTranscript WW(&edit);
    QFont first(QStringLiteral("Lucida Console"));
    first.setStyleHint(QFont::Monospace);
    first.setPointSize(11);
    WW.setTranscriptFont(first);
    WW.insVersionLine();
    WW.insName(QStringLiteral("Human: "));
    WW.insSayPerson(QStringLiteral("in the first font"));

    // The first font asks for a monospace fallback: it is drawn in fixed pitch.
    QMap<QString, QString> table = fontTable(writeRtf(*edit.document()));
    EXPECT_EQ(table.value(QStringLiteral("Lucida Console")), QStringLiteral("\\fmodern\\fprq1"));

    // The user picks a proportional family from the font window's list: the export names
    // it as readers know it, tagged proportional.
    const QString bare = familyWithoutFoundry(chosen);
    WW.setTranscriptFamily(chosen);
    WW.insName(QStringLiteral("CPU: "));
    WW.insSayCPU(QStringLiteral("in the chosen font"));
    const QByteArray rtf = writeRtf(*edit.document());
    table = fontTable(rtf);
    EXPECT_EQ(table.keys(), QStringList{bare}) << rtf.constData();
    EXPECT_EQ(table.value(bare), QStringLiteral("\\fnil\\fprq2")) << rtf.constData();
    EXPECT_FALSE(rtf.contains('[')) << rtf.constData();

    // And a fixed-pitch family chosen after it is tagged fixed again.
    WW.setTranscriptFamily(fixedFamily);
    EXPECT_EQ(fontTable(writeRtf(*edit.document())).value(fixedFamily), QStringLiteral("\\fmodern\\fprq1"));

    // LibreOffice finds the chosen family under the name the export gives it.
    const LibreOfficeRead read = readWithLibreOffice(rtf);
    ASSERT_TRUE(read.error.isEmpty()) << read.error.toStdString();
    EXPECT_TRUE(read.fontFaces.contains(bare)) << read.fontFaces.join(u'|').toStdString();
    for (const QString &face : read.fontFaces)
        EXPECT_FALSE(face.contains(u'[')) << face.toStdString();
    EXPECT_TRUE(read.text.contains(QStringLiteral("in the chosen font"))) << read.text.toStdString();
}
