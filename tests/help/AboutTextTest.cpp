// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
// About (F6): the version and the version texts in their fixed shape.
#include "session/AboutText.h"

#include "jabbly/version.h"

#include <QRegularExpression>

#include "QtPrinters.h"

#include <gtest/gtest.h>

TEST(AboutText, VersionCreditAndComments)
{
    EXPECT_EQ(jabbly::aboutTitle(), "About");
    const QString text = jabbly::aboutText();
    // The credit and the contact address are set when the program is configured.
    static const QRegularExpression shape(QStringLiteral(
        "^Jabbly V2\\.3\\.10\\.  (.+)\\.  Chat with your computer instead of wasting money on the telephone bill!  "
        "([^ ]+@[^ ]+)\\.  Last updated: 4 September 2007$"));
    const QRegularExpressionMatch match = shape.match(text);
    ASSERT_TRUE(match.hasMatch()) << text.toStdString();
    EXPECT_EQ(match.captured(1), QString::fromUtf8(jabbly::version::CompanyName));
    EXPECT_FALSE(match.captured(2).isEmpty());
}
