#pragma once

// The KORVEL_* variables through which a user, a script or a test points the window and
// korvel-collect elsewhere (README.md lists every variable). Each is read when asked for, not once at
// start, so a test or demo that exports one after an earlier request still gets it. Unset reads as
// "", and "" changes nothing.

#include <string>

namespace korvel::overrides {

// KORVEL_CONNECT_TO: comma-separated "HOST:PORT:ADDRESS:PORT" entries (see HttpSettings.h).
std::string ConnectTo();
// KORVEL_CA_FILE: a PEM file of CAs trusted in addition to the system store.
std::string CaFile();
// KORVEL_BACKEND_HOST: the address of the back-end the member upload talks to, host[:port] or
// http(s)://host[:port]; it wins over the address set in the window.
std::string BackendHost();
// KORVEL_SHOP_HOST: the shop host in the address field at start.
std::string ShopHost();

// KORVEL_STORE: the shop history's file, in place of the one under $XDG_DATA_HOME.
std::string StoreFile();

}  // namespace korvel::overrides
