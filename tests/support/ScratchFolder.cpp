// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ScratchFolder.h"

#include <QDir>
#include <QFile>

#include <stdexcept>

namespace jabbly::testing {

ScratchFolder::ScratchFolder() : dir_(0777) {}

QString ScratchFolder::path(const QString &name) const { return dir_.filePath(name); }

void ScratchFolder::write(const QString &name, const QByteArray &bytes) const
{
    QFile f(path(name));
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write " + path(name).toStdString());
}

QByteArray ScratchFolder::read(const QString &name) const
{
    QFile f(path(name));
    if (!f.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot read " + path(name).toStdString());
    return f.readAll();
}

QStringList ScratchFolder::entries(const QString &folder) const
{
    return QDir(path(folder))
        .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

}  // namespace jabbly::testing
