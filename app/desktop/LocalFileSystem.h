// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// File sizes from the local file system.

#include "conversation/FileSystem.h"

namespace jabbly {

class LocalFileSystem : public FileSystem {
public:
    int64_t FileSize(const QString &path) override;
};

}  // namespace jabbly
