// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/ComponentLibrary.h"

#include <QDir>

namespace jabbly {

// The library's exported entry seen as a Dispatch: an error record coming back is thrown
// as jabbly::Error on this side of the boundary.
class ComponentLibrary::Instance final : public Dispatch {
public:
    explicit Instance(std::unique_ptr<ExportedDispatch> exported) : exported_(std::move(exported)) {}

    Variant Invoke(int32_t member, std::span<Variant> args) override
    {
        Variant result;
        ErrorRecord error;
        if (!exported_->Invoke(member, args, result, error))
            throw Error(error.number, error.message);
        return result;
    }

private:
    std::unique_ptr<ExportedDispatch> exported_;
};

ComponentLibrary::ComponentLibrary(const QString &folder, const QString &name, const char *factory)
    : library_(QDir(folder).filePath(name))
{
    if (!library_.load())
        throw Error(err::CannotCreateObject,
                    QStringLiteral("Cannot load the component %1: %2").arg(name, library_.errorString()));
    auto create = reinterpret_cast<CreateComponentFn>(library_.resolve(factory));
    if (!create)
        throw Error(err::CannotCreateObject,
                    QStringLiteral("The component %1 has no entry %2").arg(name, QString::fromLatin1(factory)));
    std::unique_ptr<ExportedDispatch> exported(create());
    if (!exported)
        throw Error(err::CannotCreateObject, QStringLiteral("The component %1 could not be created").arg(name));
    instance_ = std::make_unique<Instance>(std::move(exported));
}

ComponentLibrary::~ComponentLibrary()
{
    // The instance's code lives in the library: destroy it before the library goes.
    instance_.reset();
}

Dispatch &ComponentLibrary::instance() { return *instance_; }

}  // namespace jabbly
