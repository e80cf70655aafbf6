// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The save the crash test runs under the fault injector (faultshim.c): one save, with the
// injector armed around it and nothing else, so that the file calls it counts are the
// save's own.
//
//   save_probe helper <file> <new content file> <recovery folder>   the safe write itself
//   save_probe rowkit <component folder> <file> <item>...            Listsave through Rowkit
//
// Exit status 0: saved; 3: the save failed (the error on standard output); 2: bad use.
// The injector may also end it with SIGKILL.
#include "components/ComponentLibrary.h"
#include "components/Components.h"
#include "lists/ItemListModel.h"
#include "safefile/SafeWrite.h"
#include "jabbly/error.h"

#include <QCoreApplication>
#include <QFile>
#include <QRandomGenerator>

#include <cstdio>
#include <functional>

#include <dlfcn.h>

namespace {

using Switch = void (*)();

int armedSave(const std::function<void()> &save)
{
    const auto arm = reinterpret_cast<Switch>(::dlsym(RTLD_DEFAULT, "faultshim_arm"));
    const auto disarm = reinterpret_cast<Switch>(::dlsym(RTLD_DEFAULT, "faultshim_disarm"));
    if (!arm || !disarm) {
        std::fprintf(stderr, "save_probe: the fault injector is not loaded\n");
        return 2;
    }
    QRandomGenerator::global()->generate();  // whatever it opens the first time, before counting
    arm();
    try {
        save();
    } catch (const jabbly::Error &error) {
        disarm();
        std::printf("error %d: %s\n", error.number(), qPrintable(error.message()));
        return 3;
    }
    disarm();
    return 0;
}

}  // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() == 5 && args[1] == QLatin1String("helper")) {
        QFile content(args[3]);
        if (!content.open(QIODevice::ReadOnly))
            return 2;
        const QByteArray bytes = content.readAll();
        jabbly::safefile::WriteOptions options;
        options.recoveryFolder = args[4];
        return armedSave([&] { jabbly::safefile::replaceFile(args[2], bytes, options); });
    }
    if (args.size() >= 5 && args[1] == QLatin1String("rowkit")) {
        jabbly::ComponentLibrary library(args[2], QStringLiteral("Rowkit"), jabbly::RowkitFactory);
        jabbly::Rowkit rowkit(library.instance());
        jabbly::ItemListModel list(false);
        for (const QString &item : args.mid(4))
            list.AddItem(item);
        return armedSave([&] { rowkit.Listsave(list, args[3]); });
    }
    std::fprintf(stderr,
                 "usage: save_probe helper <file> <content> <recovery folder> | rowkit <folder> <file> <item>...\n");
    return 2;
}
