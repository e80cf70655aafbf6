// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one error type that crosses deliverables: a classic error number plus a message.

#include <QString>

#include <stdexcept>

namespace jabbly {

// Error numbers used across the program and its components.
namespace err {
inline constexpr int InvalidArgument = 5;
inline constexpr int Overflow = 6;
inline constexpr int OutOfMemory = 7;
inline constexpr int OutOfStringSpace = 14;  // a text longer than the program holds
inline constexpr int TypeMismatch = 13;
inline constexpr int Internal = 51;
inline constexpr int FileNotFound = 53;
inline constexpr int DiskFull = 61;
inline constexpr int PermissionDenied = 70;
inline constexpr int PathFileAccess = 75;
inline constexpr int PathNotFound = 76;
inline constexpr int InvalidPropertyValue = 380;
inline constexpr int CannotCreateObject = 429;
inline constexpr int NotSupported = 438;
inline constexpr int WrongArgumentCount = 450;
}  // namespace err

class Error : public std::runtime_error {
public:
    Error(int number, const QString &message)
        : std::runtime_error(message.toStdString()), number_(number), message_(message)
    {
    }

    int number() const noexcept { return number_; }
    const QString &message() const noexcept { return message_; }

private:
    int number_;
    QString message_;
};

}  // namespace jabbly
