// libFuzzer target: the spooler's and an application's queries (capabilities, the spooler's name lists,
// record conversion, job attributes) against a printer with hostile stored state and a hostile input
// record. Every answer stays inside the buffer the call may write, and nothing is left open or allocated.
#include "capabilities.h"
#include "entry_points.h"
#include "hostile_case.h"

#include <winsim_host.h>

#include <cstdio>
#include <cstdlib>

namespace {

constexpr uint8_t kCanary = 0xA5;
constexpr size_t kGuard = 64;

// A buffer of `size` bytes with canaries before and after it.
class Guarded {
  public:
    explicit Guarded(size_t size) : bytes_(size + 2 * kGuard, kCanary) {}
    BYTE* get() { return bytes_.data() + kGuard; }
    // Whether anything before the buffer or past its first `allowed` bytes changed.
    bool Intact(size_t allowed) const {
        for (size_t i = 0; i < bytes_.size(); ++i) {
            if ((i < kGuard || i >= kGuard + allowed) && bytes_[i] != kCanary) {
                return false;
            }
        }
        return true;
    }

  private:
    std::vector<BYTE> bytes_;
};

// Bytes per entry of the lists DrvDeviceCapabilities writes; 0 for an answer that is only a number.
size_t EntryBytes(WORD capability) {
    switch (capability) {
    case DC_PAPERS:
    case DC_BINS:
        return sizeof(WORD);
    case DC_PAPERSIZE:
        return sizeof(POINT);
    case DC_ENUMRESOLUTIONS:
        return 2 * sizeof(LONG);
    case DC_BINNAMES:
        return 24 * sizeof(WCHAR);
    case DC_PAPERNAMES:
    case DC_MEDIAREADY:
    case DC_MEDIATYPENAMES:
    case DC_FILEDEPENDENCIES:
        return 64 * sizeof(WCHAR);
    case DC_PERSONALITY:
        return 32 * sizeof(WCHAR);
    case DC_MEDIATYPES:
    case DC_NUP:
        return sizeof(DWORD);
    default:
        return 0;
    }
}

[[noreturn]] void Fail(const char* what, unsigned detail) {
    std::fprintf(stderr, "%s (%u)\n", what, detail);
    std::abort();
}

void Capabilities(hostile::ByteSource& src, HANDLE printer, const DEVMODEW* in) {
    const WORD capability = static_cast<WORD>(src.Below(40));
    const DWORD count = DrvDeviceCapabilities(printer, const_cast<PWSTR>(TEXT("P")), capability, nullptr,
                                              const_cast<DEVMODEW*>(in));
    const size_t entry = EntryBytes(capability);
    // The extents are one POINT whatever the answer, which packs them into a number.
    const bool extent = capability == DC_MINEXTENT || capability == DC_MAXEXTENT;
    const size_t room = extent                                               ? sizeof(POINT)
                        : entry && count != kCapabilityError && count < 4096 ? count * entry
                                                                             : 0;
    Guarded out(room);
    const DWORD again = DrvDeviceCapabilities(printer, const_cast<PWSTR>(TEXT("P")), capability, out.get(),
                                              const_cast<DEVMODEW*>(in));
    if (entry && again != count) {
        Fail("the list's length changed between the size query and the list", capability);
    }
    if (!out.Intact(room)) {
        Fail("DrvDeviceCapabilities wrote outside its list", capability);
    }
}

void SpoolerNames(hostile::ByteSource& src, HANDLE printer, const DEVMODEW* in) {
    const WORD capability = static_cast<WORD>(src.Below(40));
    const DWORD chars = src.Below(4) ? src.Below(2048) : src.U32() % 70000;
    Guarded out(chars * sizeof(WCHAR));
    DrvSplDeviceCaps(printer, const_cast<PWSTR>(TEXT("P")), capability, src.Below(8) ? out.get() : nullptr,
                     chars, const_cast<DEVMODEW*>(in));
    if (!out.Intact(chars * sizeof(WCHAR))) {
        Fail("DrvSplDeviceCaps wrote past the characters it was given", capability);
    }
}

void Convert(hostile::ByteSource& src, const DEVMODEW* in) {
    const DWORD modes[] = {CDM_CONVERT, CDM_DRIVER_DEFAULT, CDM_CONVERT351, src.U32()};
    const DWORD mode = modes[src.Below(std::size(modes))];
    LONG size = src.Below(2) ? static_cast<LONG>(kExchangedSize) : static_cast<LONG>(src.Below(8192)) - 16;
    const size_t room = size > 0 ? static_cast<size_t>(size) : 0;
    Guarded out(room);
    const BOOL ok =
        DrvConvertDevMode(const_cast<PWSTR>(TEXT("P")), const_cast<DEVMODEW*>(in),
                          src.Below(8) ? reinterpret_cast<DEVMODEW*>(out.get()) : nullptr, &size, mode);
    if (!out.Intact(room)) {
        Fail("DrvConvertDevMode wrote past the buffer's size", mode);
    }
    if (ok && static_cast<size_t>(size) > room) {
        Fail("DrvConvertDevMode reported more than the buffer held", mode);
    }
    if (!ok && GetLastError() == ERROR_SUCCESS) {
        Fail("DrvConvertDevMode failed without a reason", mode);
    }
}

void JobAttributes(hostile::ByteSource& src, HANDLE printer, DEVMODEW* in) {
    const DWORD level = src.Below(6);
    const size_t sizes[] = {0,
                            sizeof(ATTRIBUTE_INFO_1),
                            sizeof(ATTRIBUTE_INFO_2),
                            sizeof(ATTRIBUTE_INFO_3),
                            sizeof(ATTRIBUTE_INFO_4),
                            0};
    Guarded info(sizes[level]);
    src.Fill(info.get(), sizes[level]); // what the spooler asks for comes in the record itself
    const BOOL ok = DrvQueryJobAttributes(printer, in, level, info.get());
    if (!info.Intact(sizes[level])) {
        Fail("DrvQueryJobAttributes wrote past the level's record", level);
    }
    if (!ok && GetLastError() == ERROR_SUCCESS) {
        Fail("DrvQueryJobAttributes failed without a reason", level);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    hostile::ByteSource src(data, size);
    winsim_reset();
    static const char* const kDrivers[] = {"KT-508W",    "KT-508X",    "KT-936U", "KT-936U-12",
                                           "KT-936U-16", "KT-936U-24", "",        "Generic"};
    winsim_add_printer("P", kDrivers[src.Below(std::size(kDrivers))], "USB001", "winprint", 0x40);
    HANDLE printer = nullptr;
    if (!OpenPrinterW(const_cast<LPWSTR>(TEXT("P")), &printer, nullptr)) {
        Fail("cannot open the printer", 0);
    }
    auto good = std::make_unique<DRVDEVMODE>();
    GetDriverDevMode(good.get(), nullptr, printer, TEXT("P"), GDM_COPY_WORKING, CALLER_CONFIG);
    bool present = false;
    std::vector<uint8_t> stored = hostile::Blob(src, good.get(), kExchangedSize, 70000, &present);
    if (present) {
        winsim_set_printer_devmode("P", stored.data(), static_cast<uint32_t>(stored.size()));
    }
    std::vector<uint8_t> ext = hostile::Blob(src, &good->Extension, sizeof(DEVICEEXT), 400, &present);
    if (present) {
        winsim_set_printer_data("P", "Private DevMode", REG_BINARY, ext.data(),
                                static_cast<uint32_t>(ext.size()));
    }
    std::vector<uint8_t> paper = hostile::Blob(src, good->Private.Labels, kLabelListBytes, 70000, &present);
    if (present) {
        winsim_set_printer_data("P", "Private Paper", REG_BINARY, paper.data(),
                                static_cast<uint32_t>(paper.size()));
    }
    std::vector<uint8_t> input = hostile::InputRecord(src, *good);
    DEVMODEW* in = src.Below(8) ? reinterpret_cast<DEVMODEW*>(input.data()) : nullptr;

    const uint32_t handles = winsim_open_handles();
    const uint32_t objects = winsim_com_objects();
    const uint32_t allocations = winsim_com_allocations();
    for (uint32_t calls = 1 + src.Below(4); calls > 0; --calls) {
        SetLastError(ERROR_SUCCESS);
        switch (src.Below(4)) {
        case 0:
            Capabilities(src, printer, in);
            break;
        case 1:
            SpoolerNames(src, printer, in);
            break;
        case 2:
            Convert(src, in);
            break;
        default:
            JobAttributes(src, printer, in);
            break;
        }
    }
    if (winsim_open_handles() != handles || winsim_com_objects() != objects ||
        winsim_com_allocations() != allocations) {
        Fail("a handle or COM object was left behind", winsim_open_handles());
    }
    ClosePrinter(printer);
    return 0;
}
