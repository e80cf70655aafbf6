// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The extended attributes of a file that a rename would lose: the user's own (user.*),
// the access ACL (system.posix_acl_access), security labels.

namespace jabbly::safefile {

// Gives the open new file `to` exactly the extended attributes of the file `from`: each
// one `from` has, and none that it has not (such as an ACL the new file took from its
// folder's default ACL). False, with errno set, when that cannot be done; the new file
// must then not take the old one's place.
bool copyExtendedAttributes(const char *from, int to);

}  // namespace jabbly::safefile
