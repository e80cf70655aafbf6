#pragma once
// The file-exists check on the local file system.

#include "conversation/FileCheck.h"

namespace jabbly {

class LocalFileCheck : public FileCheck {
public:
    bool FileExists(const QString &path) override;
};

}  // namespace jabbly
