// Every allocation DrvEnablePDEV and DrvEnableSurface make can fail: the call then fails with
// ERROR_NOT_ENOUGH_MEMORY, gives back what it had made (LeakSanitizer and the engine's object count watch),
// and the next call succeeds.
#include "render_fixture.h"

#include "job_commands.h"

namespace {

class Allocation : public RenderTest {
  protected:
    // Calls of service that run() makes when nothing fails.
    template <class Run> uint32_t CallsOf(const char* service, Run run) {
        const uint32_t before = winsim_call_count(service);
        run();
        return winsim_call_count(service) - before;
    }
};

TEST_F(Allocation, EnablePdevAtEveryAllocation) {
    auto rec = JobSettings();
    for (const char* service : {"GlobalAlloc", "EngCreatePalette"}) {
        SCOPED_TRACE(service);
        const uint32_t calls = CallsOf(service, [&] {
            ASSERT_NE(Enable(rec.get()), nullptr);
            Disable();
        });
        ASSERT_GT(calls, 0u);
        int failed = 0;
        for (uint32_t k = 0; k < calls; ++k) {
            SCOPED_TRACE(testing::Message() << "call " << k + 1 << " of " << calls << " fails");
            ASSERT_EQ(winsim_fail_calls(service, k, 1), 1);
            SetLastError(0);
            PDEV* pdev = Enable(rec.get());
            winsim_clear_faults();
            if (pdev) {
                // Reading the printer's stored settings may fail quietly: the job then runs on the defaults.
                Disable();
            } else {
                ++failed;
                EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
                EXPECT_EQ(winsim_engine_objects(), engineObjects_);
            }
            ASSERT_NE(Enable(rec.get()), nullptr) << "the next call succeeds";
            Disable();
        }
        EXPECT_GT(failed, 0);
    }
}

TEST_F(Allocation, EnableSurfaceAtEveryAllocation) {
    auto rec = JobSettings();
    PDEV* pdev = Enable(rec.get());
    ASSERT_NE(pdev, nullptr);
    DHPDEV dhpdev = reinterpret_cast<DHPDEV>(pdev);
    const uint32_t withDevice = winsim_engine_objects();
    for (const char* service :
         {"EngCreateBitmap", "EngLockSurface", "EngCreateDeviceSurface", "GlobalAlloc"}) {
        SCOPED_TRACE(service);
        const uint32_t calls = CallsOf(service, [&] {
            ASSERT_NE(DrvEnableSurface(dhpdev), nullptr);
            DrvDisableSurface(dhpdev);
        });
        ASSERT_GT(calls, 0u);
        for (uint32_t k = 0; k < calls; ++k) {
            SCOPED_TRACE(testing::Message() << "call " << k + 1 << " of " << calls << " fails");
            ASSERT_EQ(winsim_fail_calls(service, k, 1), 1);
            SetLastError(0);
            EXPECT_EQ(DrvEnableSurface(dhpdev), nullptr);
            winsim_clear_faults();
            EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
            EXPECT_EQ(winsim_engine_objects(), withDevice);
            EXPECT_EQ(pdev->DeviceSurface, nullptr);
            EXPECT_EQ(pdev->Work, nullptr);
            ASSERT_NE(DrvEnableSurface(dhpdev), nullptr) << "the next call succeeds";
            DrvDisableSurface(dhpdev);
        }
    }
}

TEST_F(Allocation, SurfaceTheEngineWillNotTake) {
    auto rec = JobSettings();
    PDEV* pdev = Enable(rec.get());
    ASSERT_NE(pdev, nullptr);
    DHPDEV dhpdev = reinterpret_cast<DHPDEV>(pdev);
    const uint32_t withDevice = winsim_engine_objects();
    for (uint32_t k : {0u, 1u}) { // the bitmap, then the device surface
        ASSERT_EQ(winsim_fail_calls("EngAssociateSurface", k, 1), 1);
        SetLastError(0);
        EXPECT_EQ(DrvEnableSurface(dhpdev), nullptr);
        winsim_clear_faults();
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER)) << k;
        EXPECT_EQ(winsim_engine_objects(), withDevice) << k;
    }
    EXPECT_NE(DrvEnableSurface(dhpdev), nullptr);
}

// A device the engine gives up on without disabling its surface or ending its document still returns
// everything when it is disabled.
TEST_F(Allocation, DisableReleasesWhatTheEngineSkipped) {
    auto rec = JobSettings();
    PDEV* pdev = NewDevice(rec.get());
    ASSERT_NE(pdev, nullptr);
    ASSERT_NE(DrvEnableSurface(reinterpret_cast<DHPDEV>(pdev)), nullptr);
    StartJob();
    pdev->PagesSinceEnable = 1;
    pdev->DocumentPages = 1;
    WriteJobHeader(pdev);
    DrvDisablePDEV(reinterpret_cast<DHPDEV>(pdev));
    EXPECT_EQ(winsim_engine_objects(), engineObjects_);
}

} // namespace
