// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one Sayline instance of the test binary, loaded from the output folder as the
// program loads it, and a direct way to call its members by number.

#include "components/Components.h"

#include "jabbly/dispatch.h"

#include <memory>

namespace sayline_test {

jabbly::Dispatch &component();
inline jabbly::Sayline sayline() { return jabbly::Sayline(component()); }

// A new instance straight from the library's factory, without the program's wrapper.
std::unique_ptr<jabbly::ExportedDispatch> exportedInstance();

// Calls filt through the dispatch entry with `text` as the by-reference argument.
QString filt(QString &text);

}  // namespace sayline_test
