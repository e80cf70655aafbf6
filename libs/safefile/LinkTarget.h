// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The file a save writes when its path is a symbolic link: the link keeps its place and
// the file it leads to gets the new content.

#include <QString>

#include <string>

namespace jabbly::safefile {

// The path the content of `path` goes to: `path` itself when it is no link, else the end
// of its chain of links, which may not exist yet. Throws jabbly::Error: path not found
// (76) naming the folder when a link leads into a folder that is not there (a drive that
// is not mounted), 75 for a loop of links. `shown` is the path as the user gave it.
std::string linkTarget(const std::string &path, const QString &shown);

}  // namespace jabbly::safefile
