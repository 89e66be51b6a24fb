// libFuzzer target: whatever a label file holds, importing it leaves a well-formed label list, and
// exporting that list and importing it again gives the same list.
#include <windows.h>
#include <winsim_host.h>

#include <iconv.h>

#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "devmode.h"
#include "label_file.h"
#include "label_store.h"
#include "model_lookup.h"
#include "wstr.h"

namespace {

constexpr WCHAR kInput[] = TEXT("C:\\fuzz\\input.csv");
constexpr WCHAR kExported[] = TEXT("C:\\fuzz\\exported.csv");

std::string g_root;
std::string g_inputHostPath;

void Fail(const char* why, int index) {
    std::fprintf(stderr, "ill-formed label list after import: %s (entry %d)\n", why, index);
    std::abort();
}

void Setup() {
    g_root = (std::filesystem::temp_directory_path() / "kt_fuzz_label_XXXXXX").string();
    if (!mkdtemp(g_root.data())) {
        std::abort();
    }
    std::atexit([] {
        std::error_code ignored;
        std::filesystem::remove_all(g_root, ignored);
    });
    winsim_set_file_root(g_root.c_str());
    std::filesystem::create_directories(std::filesystem::path(g_root) / "c" / "fuzz");
    g_inputHostPath = g_root + "/c/fuzz/input.csv";
    // The stand-in converts code page 932 with iconv, opening a converter per call. One converter held
    // open for the whole run keeps the converter's module loaded instead of loading and unloading it
    // on every conversion, which would cost most of the fuzzing time.
    static iconv_t keepLoaded = iconv_open("UTF-16LE", "CP932");
    (void)keepLoaded;
}

// A record whose list holds leftovers that an import must clear. The records live for the whole
// run: a fresh 58 KB allocation per input would cost more than the import itself.
DRVDEVMODE* LitteredRecord(int which, LONG model) {
    static DRVDEVMODE records[2];
    DRVDEVMODE* rec = &records[which];
    InitDevModeForModel(rec, model);
    std::memset(rec->Private.Labels, 0xA5, sizeof(rec->Private.Labels));
    rec->Private.LabelCount = 9999;
    rec->Private.CurrentLabel = -7;
    return rec;
}

void CheckList(const DRVDEVMODE* rec) {
    const PRIVDEVMODE& p = rec->Private;
    if (p.LabelCount < 2 || p.LabelCount > kMaxLabels) {
        Fail("LabelCount outside 2..250", static_cast<int>(p.LabelCount));
    }
    if (p.CurrentLabel < 0 || p.CurrentLabel >= p.LabelCount) {
        Fail("CurrentLabel outside the list", static_cast<int>(p.CurrentLabel));
    }
    if (!WStrEqual(p.Labels[0].Name, GetModelInfo(rec).Name) || p.Labels[0].Id != kStandardLabelId) {
        Fail("standard label renamed or renumbered", 0);
    }
    if (!WStrEqual(p.Labels[1].Name, kUserDefinedLabelName) || p.Labels[1].Id != kUserDefinedLabelId) {
        Fail("user-defined label renamed or renumbered", 1);
    }
    int64_t width = static_cast<int64_t>(p.Labels[1].Width) * 10;
    if (p.CustomWidth != (width > INT_MAX ? INT_MAX : (width < INT_MIN ? INT_MIN : width))) {
        Fail("CustomWidth does not follow the user-defined label", 1);
    }
    static const LABELINFO kEmpty = {};
    for (int i = 0; i < kMaxLabels; ++i) {
        const LABELINFO& l = p.Labels[i];
        if (l.Name[kLabelNameChars - 1] != 0) {
            Fail("name not terminated", i);
        }
        if (i >= p.LabelCount) {
            if (std::memcmp(&l, &kEmpty, sizeof(l)) != 0) {
                Fail("entry past the list not empty", i);
            }
        } else if (i >= 2 &&
                   (l.Name[0] == 0 || l.Id == 0 || l.Id == kStandardLabelId || l.Id == kUserDefinedLabelId)) {
            Fail("stored label without a name or with a reserved id", i);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool ready = (Setup(), true);
    (void)ready;
    FILE* f = std::fopen(g_inputHostPath.c_str(), "wb");
    if (!f) {
        std::abort();
    }
    if (size > 0) {
        std::fwrite(data, 1, size, f);
    }
    std::fclose(f);

    const LONG model = static_cast<LONG>(size % static_cast<size_t>(kVariantCount));
    DRVDEVMODE* rec = LitteredRecord(0, model);
    if (!ImportLabelFile(rec, kInput)) {
        Fail("the file could not be read", -1);
    }
    CheckList(rec);

    if (!ExportLabelFile(rec, kExported)) {
        Fail("the list could not be exported", -1);
    }
    DRVDEVMODE* again = LitteredRecord(1, model);
    if (!ImportLabelFile(again, kExported)) {
        Fail("the exported file could not be read", -1);
    }
    if (again->Private.LabelCount != rec->Private.LabelCount ||
        std::memcmp(again->Private.Labels, rec->Private.Labels, sizeof(rec->Private.Labels)) != 0) {
        Fail("export and import changed the list", -1);
    }
    if (winsim_open_handles() != 0) {
        Fail("a file or mutex handle was left open", -1);
    }
    // The stand-in logs every call; an ever-growing log looks like a leak to libFuzzer, which then
    // runs the leak checker after every input.
    winsim_log_clear();
    return 0;
}
