// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Helpers for the Rowkit tests: the component loaded from the output folder as the
// program loads it, a scratch folder, locales, and ways to make the file system refuse
// even when the tests run as root.

#include "components/ComponentLibrary.h"
#include "components/Components.h"
#include "lists/ItemListModel.h"
#include "ScratchFolder.h"
#include "WithoutRootRights.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <memory>
#include <string>

#include <sys/resource.h>
#include <sys/stat.h>

namespace rowkit_test {

using jabbly::testing::WithoutRootRights;

// The one Rowkit instance of the test binary.
jabbly::Dispatch &component();
inline jabbly::Rowkit rowkit() { return jabbly::Rowkit(component()); }
// A new instance straight from the library's factory, without the program's wrapper.
std::unique_ptr<jabbly::ExportedDispatch> exportedInstance();

QStringList itemsOf(const jabbly::ItemList &list);

using Scratch = jabbly::testing::ScratchFolder;

// Sets LC_CTYPE for the scope, as the program's start-up would from the environment.
class CtypeLocale {
public:
    explicit CtypeLocale(const char *name);
    ~CtypeLocale();
    bool ok() const { return ok_; }

private:
    std::string previous_;
    bool ok_ = false;
};

// A Windows-1252 LC_CTYPE for the scope: an installed one, or else one compiled with
// localedef into a private folder. ok() is false, with why(), when neither is possible.
class Windows1252Locale {
public:
    Windows1252Locale();
    ~Windows1252Locale();
    bool ok() const { return locale_ && locale_->ok(); }
    QString why() const { return why_; }

private:
    std::unique_ptr<QTemporaryDir> compiled_;
    std::unique_ptr<CtypeLocale> locale_;
    QByteArray oldLocpath_;
    bool hadLocpath_ = false;
    QString why_;
};

// Caps the size of files this process may write, for the scope; writes beyond it fail
// (EFBIG) the way a full disk makes them fail, whatever the user.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes);
    ~FileSizeLimit();

private:
    rlimit old_{};
    void (*oldHandler_)(int) = nullptr;
};

// Runs `body` in a child process with a mount namespace of its own, so that whatever it
// mounts vanishes with it. Returns the child's report: empty when all went well,
// "SKIP: why" when the system allows no private mounts.
QString inPrivateMountNamespace(const std::function<QString()> &body);

// The file's status; a failing stat is a test failure.
struct stat statOf(const QString &path);

// Open file descriptors of this process.
int openDescriptorCount();

}  // namespace rowkit_test
