// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Loads a component library (Rowkit, Sayline) from a folder and creates its one instance
// through the library's exported factory. The instance is offered as a Dispatch whose
// failures are thrown here, in the program, from the error records the library returns.

#include "jabbly/dispatch.h"

#include <QLibrary>
#include <QString>

#include <memory>

namespace jabbly {

class ComponentLibrary {
public:
    // Loads `folder`/lib<name>.so and calls `factory`. Throws Error 429 with the loader's
    // reason when the library or its factory cannot be had.
    ComponentLibrary(const QString &folder, const QString &name, const char *factory);
    ~ComponentLibrary();
    ComponentLibrary(const ComponentLibrary &) = delete;
    ComponentLibrary &operator=(const ComponentLibrary &) = delete;

    Dispatch &instance();

private:
    class Instance;
    QLibrary library_;
    std::unique_ptr<Instance> instance_;
};

}  // namespace jabbly
