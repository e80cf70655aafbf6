// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The cpu.txt delivered with the program, as the build copied it next to the program.
#include "conversation/ReplyComposer.h"

#include "lists/ItemListModel.h"
#include "QtPrinters.h"
#include "conversation/RandomGenerator.h"
#include "TestFolder.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QStringDecoder>

#include <gtest/gtest.h>

using namespace jabbly;

namespace {

class DeliveredTemplates : public ::testing::Test {
protected:
    void SetUp() override
    {
        QFile f(jabbly::testing::binFolder() + "/cpu.txt");
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << f.fileName().toStdString();
        bytes = f.readAll();
        QStringDecoder utf8(QStringDecoder::Utf8);
        const QString text = utf8.decode(bytes);
        ASSERT_FALSE(utf8.hasError()) << "cpu.txt is not UTF-8";
        lines = text.split("\r\n");
        ASSERT_EQ(lines.takeLast(), "") << "every line ends with CR LF";
    }

    QByteArray bytes;
    QStringList lines;
};

TEST_F(DeliveredTemplates, ListFileFormat)
{
    EXPECT_FALSE(bytes.startsWith("\xEF\xBB\xBF")) << "no byte-order mark";
    EXPECT_EQ(bytes.count('\n'), bytes.count("\r\n")) << "no bare line feeds";
    EXPECT_EQ(bytes.count('\r'), bytes.count("\r\n")) << "no bare carriage returns";
    EXPECT_TRUE(bytes.contains("\xC2\xA3NAME\xC2\xA3")) << "the pound sign is stored as UTF-8";
    EXPECT_GE(lines.size(), 60);
    EXPECT_EQ(QSet<QString>(lines.begin(), lines.end()).size(), lines.size()) << "no line twice";
    for (const QString &line : lines)
        EXPECT_FALSE(line.trimmed().isEmpty());
}

TEST_F(DeliveredTemplates, EveryTokenKindAndSomeRichTemplates)
{
    const QRegularExpression token("£(NAME|WORD|WORDP|NUMBER)([1-9]|1[0-9])?£");
    QSet<QString> kinds;
    int rich = 0;
    for (const QString &line : lines) {
        QSet<QString> passes;
        bool name = false;
        for (auto it = token.globalMatch(line); it.hasNext();) {
            const auto m = it.next();
            kinds.insert(m.captured(1));
            if (m.captured(1) == "NAME")
                name = true;
            else
                passes.insert(m.captured(2));
        }
        rich += name && passes.size() >= 2;
    }
    EXPECT_EQ(kinds, (QSet<QString>{"NAME", "WORD", "WORDP", "NUMBER"}));
    EXPECT_GE(rich, 3) << "templates with the name and several passes";
}

TEST_F(DeliveredTemplates, EveryTokenIsFilledIn)
{
    ItemListModel HidWord{true}, HidCPU{false};
    HidWord.AddItems({"moon", "cats", "river", "new york"});
    RandomGenerator random(9);
    ReplyComposer composer(HidWord, HidCPU, random, QLocale(QLocale::English, QLocale::UnitedKingdom));
    for (const QString &line : lines) {
        HidCPU.Clear();
        HidCPU.AddItem(line);
        const QString reply = composer.compose("Ann").value_or("£");
        EXPECT_FALSE(reply.contains(u'£')) << line.toStdString() << " -> " << reply.toStdString();
    }
}

}  // namespace
