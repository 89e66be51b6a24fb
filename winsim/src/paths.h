// Where the simulated Windows keeps its files and named objects on the host.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace winsim {

// The host folder that drive paths map into (created when missing).
std::string file_root();

// Maps a Windows path onto the host file system:
//   "C:\dir\f.csv" or "c:/dir/f.csv"  -> "<root>/c/dir/f.csv"   (the drive folder is created when missing)
//   "\\server\share\f.csv"            -> "<root>/unc/server/share/f.csv"
//   "/any/host/path"                  -> itself
//   "dir\f.csv"                       -> "dir/f.csv", relative to the current directory
// A "\\?\" prefix is dropped. Returns nothing for an empty path.
std::optional<std::string> host_path(std::u16string_view windows_path);

// The folder of the named kernel objects of one namespace ("local" or "global"), created when missing.
std::string objects_dir(const char* name_space);

// The per-user folder of the file sharing records, created when missing. It does not follow the file root,
// because the same host file may be reached under different roots.
std::string share_dir();

// Creates a folder and its parents; true when it exists afterwards.
bool make_dirs(const std::string& dir);

} // namespace winsim
