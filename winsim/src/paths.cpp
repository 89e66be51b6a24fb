#include "paths.h"

#include "text.h"

#include <winsim_host.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <mutex>

namespace winsim {
namespace {

std::mutex root_mutex;
std::optional<std::string> host_root; // set by winsim_set_file_root

std::string user_temp_folder() {
    const char* tmp = std::getenv("TMPDIR");
    std::string base = (tmp && *tmp) ? tmp : "/tmp";
    return base + "/winsim-" + std::to_string(getuid());
}

bool is_separator(char16_t c) {
    return c == u'\\' || c == u'/';
}

std::string with_slashes(std::u16string_view text) {
    std::string out = to_utf8(text);
    for (char& c : out) {
        if (c == '\\')
            c = '/';
    }
    return out;
}

} // namespace

bool make_dirs(const std::string& dir) {
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    return std::filesystem::is_directory(dir, ec);
}

std::string file_root() {
    std::string root;
    {
        std::lock_guard lock(root_mutex);
        if (host_root) {
            root = *host_root;
        } else {
            const char* env = std::getenv("WINSIM_ROOT");
            root = (env && *env) ? env : user_temp_folder();
        }
    }
    make_dirs(root);
    return root;
}

std::optional<std::string> host_path(std::u16string_view path) {
    if (path.starts_with(u"\\\\?\\"))
        path.remove_prefix(4);
    if (path.empty())
        return std::nullopt;
    if (path.front() == u'/')
        return to_utf8(path);
    const bool drive = path.size() >= 2 && path[1] == u':' &&
                       ((path[0] >= u'A' && path[0] <= u'Z') || (path[0] >= u'a' && path[0] <= u'z'));
    if (drive) {
        // Drive letters are case-insensitive on Windows; the host folder is the lower-case letter.
        const char letter = static_cast<char>(path[0] | 0x20);
        const std::string drive_dir = file_root() + "/" + letter;
        make_dirs(drive_dir);
        std::u16string_view rest = path.substr(2);
        while (!rest.empty() && is_separator(rest.front()))
            rest.remove_prefix(1);
        return rest.empty() ? drive_dir : drive_dir + "/" + with_slashes(rest);
    }
    if (path.size() >= 2 && is_separator(path[0]) && is_separator(path[1]))
        return file_root() + "/unc/" + with_slashes(path.substr(2));
    return with_slashes(path);
}

std::string objects_dir(const char* name_space) {
    const std::string dir = file_root() + "/.objects/" + name_space;
    make_dirs(dir);
    return dir;
}

std::string share_dir() {
    const std::string dir = user_temp_folder() + "/.share";
    make_dirs(dir);
    return dir;
}

} // namespace winsim

extern "C" void winsim_set_file_root(const char* host_dir) {
    std::lock_guard lock(winsim::root_mutex);
    if (host_dir)
        winsim::host_root = host_dir;
    else
        winsim::host_root.reset();
}
