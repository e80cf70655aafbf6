// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The new file of a replacement, made beside its target under a name that tells what it
// belongs to, and the clean-up of the ones that killed saves left behind.

#include "Descriptor.h"

#include <memory>
#include <string>
#include <vector>

#include <sys/types.h>

namespace jabbly::safefile {

// The stem of the new files for the file `name` in `folder`: the name itself, or, when
// the new file's name would then be longer than the file system allows, the start of the
// name followed by "~" and a hash of the whole name, which keeps it particular to its
// target. New files are named "." + stem + "." + a random number + ".tmp".
std::string temporaryStem(const std::string &folder, const std::string &name);

// A new file "." + stem + "." + number + ".tmp" in `folder`, open for writing: removed
// when it goes out of scope unless it has been renamed into place. It is locked for as
// long as it exists under its name, so that removeStaleTemporaries (in this or another
// process) leaves it alone.
class TemporaryFile {
public:
    TemporaryFile(const std::string &folder, const std::string &stem);
    ~TemporaryFile();
    TemporaryFile(const TemporaryFile &) = delete;
    TemporaryFile &operator=(const TemporaryFile &) = delete;

    bool isOpen() const { return fd_ != nullptr; }
    // Why the file could not be made (an errno value).
    int error() const { return error_; }
    int fd() const { return fd_->get(); }
    const std::string &path() const { return path_; }
    // Closes the file for writing; the lock stays until the file is renamed or removed.
    int close() { return fd_->close(); }
    // The file has been renamed into place: it is no longer removed.
    void keep() { path_.clear(); }

private:
    bool lockedAsOurs(int fd) const;

    std::string path_;
    std::unique_ptr<Descriptor> fd_;
    std::unique_ptr<Descriptor> lockHolder_;  // closed only after the destructor's unlink
    int error_ = 0;
};

// Removes what earlier saves left in `folder` for the files with these stems: new files
// that no save is writing any more (their lock is free), owned by us or by `owner`.
void removeStaleTemporaries(const std::string &folder, const std::vector<std::string> &stems, uid_t owner);

}  // namespace jabbly::safefile
