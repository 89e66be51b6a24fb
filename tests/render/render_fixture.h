// A printer in the Windows stand-in with the rendering library's physical device on it, driven the way
// the graphics engine drives it, and the spooler job that catches its bytes.
#pragma once

#include "bytes.h"
#include "sim_printer.h"

#include <windows.h>
#include <winddi.h>
#include <winsim_host.h>

#include "pdev.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

// The bytes of a text made of printer commands: "\x02" "F00" ... spelled out in the tests.
inline Bytes Stream(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

// "0x" and eight or more hex digits, as the call log writes numbers and handles.
inline std::string Hex(uint64_t value) {
    char text[24];
    std::snprintf(text, sizeof(text), "0x%08llX", static_cast<unsigned long long>(value));
    return text;
}

// The last line of the call log that starts with prefix, or "" when there is none.
inline std::string LastLogLine(const char* prefix) {
    std::string found;
    char line[512];
    for (size_t i = 0; i < winsim_log_size(); ++i) {
        winsim_log_line(i, line, sizeof(line));
        if (std::strncmp(line, prefix, std::strlen(prefix)) == 0) {
            found = line;
        }
    }
    return found;
}

class RenderTest : public SimPrinterTest {
  protected:
    void SetUp() override {
        SimPrinterTest::SetUp();
        engineObjects_ = winsim_engine_objects();
    }
    void TearDown() override {
        Disable();
        EndJob();
        EXPECT_EQ(winsim_engine_objects(), engineObjects_) << "a surface or palette was left behind";
        SimPrinterTest::TearDown();
    }

    // The settings a job of variant modelIndex would bring: the defaults, as an application hands them in.
    std::unique_ptr<DRVDEVMODE> JobSettings(int modelIndex = 0) {
        auto rec = std::make_unique<DRVDEVMODE>();
        InitDevModeForModel(rec.get(), modelIndex);
        rec->Private.Signature = kDevModeSignature;
        return rec;
    }
    LABELINFO& Label(DRVDEVMODE* rec) { return rec->Private.Labels[0]; }

    // DrvEnablePDEV, the engine's device for it (with the default palette the driver reported) and
    // DrvCompletePDEV; nullptr when the enable fails. The caller disables it.
    PDEV* NewDevice(const DRVDEVMODE* rec, GDIINFO* gdiInfo = nullptr, DEVINFO* devInfo = nullptr) {
        GDIINFO gi;
        DEVINFO di;
        DEVINFO* reported = devInfo ? devInfo : &di;
        DHPDEV dhpdev = DrvEnablePDEV(const_cast<DEVMODEW*>(rec ? &rec->Public : nullptr),
                                      const_cast<LPWSTR>(TEXT("USB001")), 0, nullptr, sizeof(GDIINFO),
                                      reinterpret_cast<ULONG*>(gdiInfo ? gdiInfo : &gi), sizeof(DEVINFO),
                                      reported, nullptr, nullptr, printer_);
        if (dhpdev) {
            HDEV hdev = static_cast<HDEV>(winsim_engine_add_device(dhpdev, reported->hpalDefault));
            EXPECT_NE(hdev, nullptr) << "the engine refused the device the driver reported";
            DrvCompletePDEV(dhpdev, hdev);
        }
        return reinterpret_cast<PDEV*>(dhpdev);
    }
    // DrvDisableSurface and DrvDisablePDEV, then the engine lets its device go.
    static void DropDevice(PDEV* pdev) {
        HDEV hdev = pdev->EngineDevice;
        DrvDisableSurface(reinterpret_cast<DHPDEV>(pdev));
        DrvDisablePDEV(reinterpret_cast<DHPDEV>(pdev));
        winsim_engine_remove_device(hdev);
    }
    // The fixture's device, disabled at the end of the test.
    PDEV* Enable(const DRVDEVMODE* rec, GDIINFO* gdiInfo = nullptr, DEVINFO* devInfo = nullptr) {
        Disable();
        pdev_ = NewDevice(rec, gdiInfo, devInfo);
        return pdev_;
    }
    // Enable and DrvEnableSurface; the device's output buffer then exists.
    PDEV* EnableWithSurface(const DRVDEVMODE* rec) {
        if (!Enable(rec)) {
            return nullptr;
        }
        return DrvEnableSurface(reinterpret_cast<DHPDEV>(pdev_)) ? pdev_ : nullptr;
    }
    void Disable() {
        if (pdev_) {
            DropDevice(pdev_);
            pdev_ = nullptr;
        }
    }

    // The spooler job the engine would have started on the printer handle before the driver writes.
    void StartJob() {
        DOC_INFO_1W doc = {const_cast<LPWSTR>(TEXT("label")), nullptr, const_cast<LPWSTR>(TEXT("RAW"))};
        ASSERT_NE(StartDocPrinterW(printer_, 1, reinterpret_cast<LPBYTE>(&doc)), 0u);
        jobOpen_ = true;
    }
    void EndJob() {
        if (jobOpen_) {
            EndDocPrinter(printer_);
            jobOpen_ = false;
        }
    }
    // The bytes of the printer's last job.
    Bytes JobBytes() {
        const uint32_t jobs = winsim_job_count(kPrinterName);
        int32_t size = jobs ? winsim_job_bytes(kPrinterName, jobs - 1, nullptr, 0) : -1;
        if (size < 0) {
            ADD_FAILURE() << "the printer has no job";
            return {};
        }
        Bytes bytes(static_cast<size_t>(size));
        winsim_job_bytes(kPrinterName, jobs - 1, bytes.data(), static_cast<uint32_t>(bytes.size()));
        return bytes;
    }

    // An output buffer of the device's size and limit over storage of the test's own, writing to the
    // fixture's printer, for the encoders to be driven without a device.
    OutputBuffer TestOutput() {
        outputStorage_.assign(kOutputBufferBytes, 0);
        outputState_ = 0;
        return {outputStorage_.data(), kOutputFillLimit, 0, printer_, &outputState_};
    }

    PDEV* pdev_ = nullptr;
    bool jobOpen_ = false;
    std::vector<BYTE> outputStorage_;
    DWORD outputState_ = 0;
    uint32_t engineObjects_ = 0;
};
