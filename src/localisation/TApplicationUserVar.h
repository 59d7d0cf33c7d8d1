// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace korvell {

/// The login identity of the latest successful login.
struct TApplicationUserVar {
    /// The user name exactly as typed.
    QString CurrentUserName;
    /// The password exactly as typed.
    QString CurrentPassword;
    /// The logged-in user's id (a GUID in text form).
    QString CurrentUserId;
    /// The connection string chosen by the latest login attempt.
    QString ConnectionString;
};

} // namespace korvell
