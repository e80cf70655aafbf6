// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "SaylineTesting.h"

#include "components/ComponentLibrary.h"
#include "TestFolder.h"

#include "jabbly/members.h"

#include <QDir>
#include <QLibrary>

#include <array>
#include <memory>
#include <stdexcept>

namespace sayline_test {

jabbly::Dispatch &component()
{
    static const std::unique_ptr<jabbly::ComponentLibrary> library = std::make_unique<jabbly::ComponentLibrary>(
        jabbly::testing::binFolder(), QStringLiteral("Sayline"), jabbly::SaylineFactory);
    return library->instance();
}

std::unique_ptr<jabbly::ExportedDispatch> exportedInstance()
{
    component();  // loads the library
    QLibrary library(QDir(jabbly::testing::binFolder()).filePath(QStringLiteral("Sayline")));
    auto create = reinterpret_cast<jabbly::CreateComponentFn>(library.resolve(jabbly::SaylineFactory));
    if (!create)
        throw std::runtime_error("no factory in the Sayline library");
    return std::unique_ptr<jabbly::ExportedDispatch>(create());
}

QString filt(QString &text)
{
    std::array<jabbly::Variant, 1> args{jabbly::Variant(std::move(text))};
    jabbly::Variant result = component().Invoke(jabbly::sayline::filt, args);
    text = std::get<QString>(std::move(args[0]));
    return std::get<QString>(std::move(result));
}

}  // namespace sayline_test
