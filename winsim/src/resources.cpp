// Resources: a module's resources come from the compiled resource file (windres -O res) of the same script
// the Windows build links into the DLL, tied to the module by the host. FindResourceW, LoadResource,
// LockResource, SizeofResource and LoadStringW read it as Windows reads a module's resource section.
#include "resources.h"

#include "reset.h"
#include "text.h"

#include <winsim_host.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace {

// A module handle no real address can have: the process image, as GetModuleHandleW(NULL) answers.
HMODULE const kProcessImage = reinterpret_cast<HMODULE>(static_cast<ULONG_PTR>(0x00400000));

// A type or name: an integer id, or an upper-cased string (resource names compare without case).
struct Key {
    WORD id = 0;
    std::u16string name;
    bool operator==(const Key&) const = default;
};

struct Entry {
    Key type;
    Key name;
    WORD language = 0;
    std::vector<uint8_t> data;
};

struct ResourceFile {
    std::vector<std::unique_ptr<Entry>> entries;
};

std::mutex mutex;
std::map<HMODULE, ResourceFile> files;

char16_t upper(char16_t c) {
    return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c;
}

Key key_of(LPCWSTR value) {
    Key key;
    if (IS_INTRESOURCE(value)) {
        key.id = static_cast<WORD>(reinterpret_cast<ULONG_PTR>(value));
        return key;
    }
    std::u16string_view text = winsim::view(value);
    // "#123" names the integer id 123, as FindResourceW reads it.
    if (text.size() > 1 && text[0] == u'#') {
        unsigned id = 0;
        for (char16_t c : text.substr(1)) {
            if (c < u'0' || c > u'9' || id > 0xFFFF)
                return key;
            id = id * 10 + static_cast<unsigned>(c - u'0');
        }
        key.id = static_cast<WORD>(id);
        return key;
    }
    for (char16_t c : text)
        key.name.push_back(upper(c));
    return key;
}

// The .res format: entries, each DWORD aligned: DataSize, HeaderSize, TYPE and NAME (0xFFFF + WORD id, or a
// terminated UTF-16 string), DataVersion, MemoryFlags, LanguageId, Version, Characteristics, then the data.
class Reader {
  public:
    Reader(const uint8_t* bytes, size_t size) : bytes_(bytes), size_(size) {}
    bool word(size_t at, WORD& out) const {
        if (at + 2 > size_)
            return false;
        out = static_cast<WORD>(bytes_[at] | bytes_[at + 1] << 8);
        return true;
    }
    bool dword(size_t at, DWORD& out) const {
        WORD low = 0, high = 0;
        if (!word(at, low) || !word(at + 2, high))
            return false;
        out = static_cast<DWORD>(low) | static_cast<DWORD>(high) << 16;
        return true;
    }
    // A type or name at `at`; `at` moves past it.
    bool key(size_t& at, size_t end, Key& out) const {
        WORD first = 0;
        if (at + 2 > end || !word(at, first))
            return false;
        if (first == 0xFFFF) {
            if (at + 4 > end || !word(at + 2, out.id))
                return false;
            at += 4;
            return true;
        }
        for (;;) {
            WORD c = 0;
            if (at + 2 > end || !word(at, c))
                return false;
            at += 2;
            if (c == 0)
                return true;
            out.name.push_back(upper(static_cast<char16_t>(c)));
        }
    }

  private:
    const uint8_t* bytes_;
    size_t size_;
};

bool parse(const std::vector<uint8_t>& bytes, ResourceFile& out) {
    Reader reader(bytes.data(), bytes.size());
    size_t at = 0;
    while (at + 8 <= bytes.size()) {
        DWORD dataSize = 0, headerSize = 0;
        reader.dword(at, dataSize);
        reader.dword(at + 4, headerSize);
        if (headerSize < 24 || headerSize > bytes.size() - at || dataSize > bytes.size() - at - headerSize)
            return false;
        const size_t headerEnd = at + headerSize;
        auto entry = std::make_unique<Entry>();
        size_t field = at + 8;
        if (!reader.key(field, headerEnd, entry->type) || !reader.key(field, headerEnd, entry->name))
            return false;
        field = (field + 3) & ~size_t{3};
        // DataVersion (4), MemoryFlags (2), LanguageId (2).
        if (field + 8 > headerEnd || !reader.word(field + 6, entry->language))
            return false;
        const uint8_t* data = bytes.data() + headerEnd;
        entry->data.assign(data, data + dataSize);
        // The file starts with an empty entry that only marks it as a 32-bit resource file.
        if (!(dataSize == 0 && entry->type.id == 0 && entry->type.name.empty()))
            out.entries.push_back(std::move(entry));
        at = (headerEnd + dataSize + 3) & ~size_t{3};
    }
    return at >= bytes.size();
}

Entry* find(HMODULE module, const Key& type, const Key& name) {
    auto file = files.find(module ? module : kProcessImage);
    if (file == files.end())
        return nullptr;
    for (auto& entry : file->second.entries) {
        if (entry->type == type && entry->name == name)
            return entry.get();
    }
    return nullptr;
}

// An HRSRC is the entry itself; a handle the module's file does not hold is invalid.
Entry* entry_of(HMODULE module, HRSRC resource) {
    auto file = files.find(module ? module : kProcessImage);
    if (file == files.end() || !resource)
        return nullptr;
    for (auto& entry : file->second.entries) {
        if (entry.get() == reinterpret_cast<Entry*>(resource))
            return entry.get();
    }
    return nullptr;
}

} // namespace

namespace winsim {

HMODULE process_image() {
    return kProcessImage;
}

bool find_resource(HMODULE module, LPCWSTR type, LPCWSTR name, ResourceData& out) {
    std::lock_guard lock(mutex);
    Entry* entry = find(module, key_of(type), key_of(name));
    if (!entry)
        return false;
    out.bytes = entry->data.data();
    out.size = entry->data.size();
    return true;
}

void reset_resources() {
    std::lock_guard lock(mutex);
    files.clear();
}

} // namespace winsim

extern "C" {

int winsim_ui_set_resources(void* module, const char* res_path) {
    HMODULE handle = module ? static_cast<HMODULE>(module) : kProcessImage;
    std::lock_guard lock(mutex);
    if (!res_path) {
        files.erase(handle);
        return 1;
    }
    std::ifstream in(res_path, std::ios::binary);
    if (!in)
        return 0;
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ResourceFile file;
    if (!parse(bytes, file))
        return 0;
    files[handle] = std::move(file);
    return 1;
}

HRSRC WINAPI FindResourceW(HMODULE hModule, LPCWSTR lpName, LPCWSTR lpType) {
    if (!lpName || !lpType) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    std::lock_guard lock(mutex);
    HMODULE module = hModule ? hModule : kProcessImage;
    auto file = files.find(module);
    if (file == files.end()) {
        SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
        return nullptr;
    }
    const Key type = key_of(lpType);
    bool typeFound = false;
    for (auto& entry : file->second.entries)
        typeFound = typeFound || entry->type == type;
    if (!typeFound) {
        SetLastError(ERROR_RESOURCE_TYPE_NOT_FOUND);
        return nullptr;
    }
    Entry* entry = find(module, type, key_of(lpName));
    if (!entry) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    return reinterpret_cast<HRSRC>(entry);
}

HGLOBAL WINAPI LoadResource(HMODULE hModule, HRSRC hResInfo) {
    std::lock_guard lock(mutex);
    Entry* entry = entry_of(hModule, hResInfo);
    if (!entry) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    // An empty resource still loads; its data is the entry's (empty) vector, not NULL.
    return entry->data.empty() ? reinterpret_cast<HGLOBAL>(entry) : entry->data.data();
}

LPVOID WINAPI LockResource(HGLOBAL hResData) {
    return hResData;
}

DWORD WINAPI SizeofResource(HMODULE hModule, HRSRC hResInfo) {
    std::lock_guard lock(mutex);
    Entry* entry = entry_of(hModule, hResInfo);
    if (!entry) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    return static_cast<DWORD>(entry->data.size());
}

// Resources are never unloaded while their module lives; the call only reports that nothing was freed.
WINBOOL WINAPI FreeResource(HGLOBAL) {
    return FALSE;
}

// Strings live sixteen to a block: block (id / 16) + 1 holds them as counted UTF-16 strings.
int WINAPI LoadStringW(HINSTANCE hInstance, UINT uID, LPWSTR lpBuffer, int cchBufferMax) {
    if (!lpBuffer || cchBufferMax < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    winsim::ResourceData block;
    if (!winsim::find_resource(hInstance, RT_STRING, MAKEINTRESOURCEW((uID >> 4) + 1), block)) {
        if (cchBufferMax > 0)
            lpBuffer[0] = 0;
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return 0;
    }
    size_t at = 0;
    const auto* words = reinterpret_cast<const WCHAR*>(block.bytes);
    const size_t count = block.size / 2;
    for (UINT i = 0; i < (uID & 15) && at < count; ++i)
        at += 1 + words[at];
    if (at >= count || words[at] == 0 || at + 1 + words[at] > count) {
        if (cchBufferMax > 0)
            lpBuffer[0] = 0;
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return 0;
    }
    const int length = words[at];
    // A zero size asks for a read-only pointer to the string itself, which is not terminated.
    if (cchBufferMax == 0) {
        *reinterpret_cast<const WCHAR**>(lpBuffer) = words + at + 1;
        return length;
    }
    const int copied = length < cchBufferMax - 1 ? length : cchBufferMax - 1;
    std::memcpy(lpBuffer, words + at + 1, static_cast<size_t>(copied) * sizeof(WCHAR));
    lpBuffer[copied] = 0;
    return copied;
}

} // extern "C"
