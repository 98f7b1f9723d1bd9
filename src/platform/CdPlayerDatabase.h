#pragma once
// Where the CD player keeps the names of discs and tracks ("cdplayer.ini"):
// on Windows in the Windows directory; elsewhere only where the caller says.
#include <string>

namespace qel {

// The database file to read, or empty when there is none.
std::string CdPlayerIniPath();

// Uses path as the database from now on; an empty path means no database.
void SetCdPlayerIniPath(const std::string& path);

// The platform's own place, used until a path is set: the Windows
// directory's "cdplayer.ini" on Windows, no database elsewhere.
std::string DefaultCdPlayerIniPath();

}  // namespace qel
