// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The file-exists check on the local file system.

#include "conversation/FileCheck.h"

namespace jabbly {

class LocalFileCheck : public FileCheck {
public:
    bool FileExists(const QString &path) override;
};

}  // namespace jabbly
