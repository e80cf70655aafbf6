#include "ComponentLibrary.h"

#include <QDir>

namespace jabbly {

ComponentLibrary::ComponentLibrary(const QString &folder, const QString &name, const char *factory)
    : library_(QDir(folder).filePath(name))
{
    if (!library_.load())
        throw Error(err::CannotCreateObject, QStringLiteral("Cannot load the component %1: %2").arg(name, library_.errorString()));
    auto create = reinterpret_cast<CreateComponentFn>(library_.resolve(factory));
    if (!create)
        throw Error(err::CannotCreateObject, QStringLiteral("The component %1 has no entry %2").arg(name, QString::fromLatin1(factory)));
    instance_.reset(create());
    if (!instance_)
        throw Error(err::CannotCreateObject, QStringLiteral("The component %1 could not be created").arg(name));
}

ComponentLibrary::~ComponentLibrary()
{
    // The instance's code lives in the library: destroy it before the library goes.
    instance_.reset();
}

}  // namespace jabbly
