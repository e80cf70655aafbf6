// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A speech engine for tests: every member is a gmock method.

#include "jabbly/speechengine.h"

#include <gmock/gmock.h>

namespace jabbly::testing {

class MockSpeechEngine : public SpeechEngine {
public:
    MOCK_METHOD(void, Speak, (const QString &text), (override));
    MOCK_METHOD(void, StopSpeaking, (), (override));
    MOCK_METHOD(void, LexiconDlg, (QWidget * owner, const QString &title), (override));
    MOCK_METHOD(void, setSpeed, (int32_t speed), (override));
    MOCK_METHOD(void, setCurrentMode, (int32_t mode), (override));
    MOCK_METHOD(int32_t, Find, (const QString &criteria), (override));
    MOCK_METHOD(void, Select, (int32_t mode), (override));
    MOCK_METHOD(int32_t, CountEngines, (), (const, override));
    MOCK_METHOD(QString, ModeName, (int32_t mode), (const, override));
    MOCK_METHOD(int32_t, CurrentMode, (), (const, override));
};

}  // namespace jabbly::testing
