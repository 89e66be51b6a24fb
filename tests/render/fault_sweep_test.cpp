// A whole job through the loaded module, with every call one engine step makes to the memory manager, the
// spooler or the graphics engine failed once in turn: the step fails the Windows way or copes, the job can
// still be ended and the device closed, and nothing is left open or alive.
#include "render_fixture.h"

#include <winsim_services.h>

#include <cctype>
#include <functional>
#include <map>

namespace {

struct Job {
    void* driver = nullptr;
    void* device = nullptr;
    const DRVDEVMODE* rec = nullptr;
    bool docOpen = false;
    bool pageOpen = false;
};

// The engine's steps of a one-page job, in order; each row is one entry point (or the engine call that
// makes it). A step returns whether it succeeded.
struct Step {
    const char* name;
    bool (*run)(Job& job);
};

const Step kSteps[] = {
    {"DrvEnablePDEV DrvCompletePDEV DrvEnableSurface",
     [](Job& job) {
         job.device = winsim_engine_open(job.driver, kPrinterName, &job.rec->Public);
         return job.device != nullptr;
     }},
    {"DrvStartDoc",
     [](Job& job) {
         job.docOpen = winsim_engine_start_doc(job.device, "labels") == 1;
         return job.docOpen;
     }},
    {"DrvEscape SETCOPYCOUNT",
     [](Job& job) {
         const LONG copies = 3;
         LONG held = 0;
         return winsim_engine_escape(job.device, SETCOPYCOUNT, &copies, sizeof(copies), &held,
                                     sizeof(held)) == 1 &&
                held == copies;
     }},
    {"DrvStartPage",
     [](Job& job) {
         winsim_engine_page page = {};
         job.pageOpen = winsim_engine_start_page(job.device, &page) == 1;
         if (job.pageOpen && page.bits) {
             static_cast<BYTE*>(page.bits)[0] = 0; // a dot, so that the page carries an image
         }
         return job.pageOpen;
     }},
    {"DrvBitBlt DrvLineTo DrvFillPath (an application's drawing)",
     [](Job& job) {
         const int32_t triangle[] = {10, 10, 40, 10, 25, 30};
         return winsim_engine_fill_rect(job.device, 0, 0, 20, 20, 0x00000000) == 1 &&
                winsim_engine_draw_line(job.device, 0, 30, 60, 30, 0x000000FF) == 1 &&
                winsim_engine_fill_polygon(job.device, triangle, 3, 0x00000000) == 1;
     }},
    {"DrvSendPage",
     [](Job& job) {
         job.pageOpen = false;
         return winsim_engine_end_page(job.device) == 1;
     }},
    {"DrvResetPDEV (ResetDC between pages)",
     [](Job& job) { return winsim_engine_reset(job.device, &job.rec->Public) == 1; }},
    {"DrvEndDoc",
     [](Job& job) {
         job.docOpen = false;
         return winsim_engine_end_doc(job.device, 0) == 1;
     }},
    {"DrvDisableSurface DrvDisablePDEV",
     [](Job& job) {
         winsim_engine_close(job.device);
         job.device = nullptr;
         return true;
     }},
};

std::map<std::string, uint32_t> Counts() {
    std::map<std::string, uint32_t> counts;
    for (size_t i = 0; const char* name = winsim_service_name(i); ++i) {
        counts[name] = winsim_call_count(name);
    }
    return counts;
}

class FaultSweep : public RenderTest, public ::testing::WithParamInterface<size_t> {
  protected:
    void SetUp() override {
        RenderTest::SetUp();
        driver_ = winsim_engine_load(KT_RENDER_MODULE);
        ASSERT_NE(driver_, nullptr);
        rec_ = JobSettings();
        rec_->Private.PaperId = kUserDefinedLabelId;
        rec_->Private.CustomWidth = 200; // a small label keeps each run short
        rec_->Private.CustomLength = 100;
        SyncPublicDevMode(rec_.get());
    }
    void TearDown() override {
        winsim_engine_unload(driver_);
        RenderTest::TearDown();
    }

    // The steps before `target` as they go without faults, then the target.
    bool RunTo(Job& job, size_t target, const std::function<void()>& armed) {
        for (size_t i = 0; i < target; ++i) {
            if (!kSteps[i].run(job)) {
                ADD_FAILURE() << kSteps[i].name << " fails without an injected failure";
                return false;
            }
        }
        armed();
        SetLastError(ERROR_SUCCESS);
        const bool ok = kSteps[target].run(job);
        winsim_clear_faults();
        return ok;
    }
    // What the engine does after a failed or finished step: the document aborted, the device closed.
    static void Finish(Job& job) {
        if (job.pageOpen) {
            winsim_engine_end_page(job.device);
        }
        if (job.docOpen) {
            winsim_engine_end_doc(job.device, ED_ABORTDOC);
        }
        if (job.device) {
            winsim_engine_close(job.device);
        }
        job = {};
    }

    void* driver_ = nullptr;
    std::unique_ptr<DRVDEVMODE> rec_;
};

TEST_P(FaultSweep, EveryCallFailedOnceInTurn) {
    const size_t target = GetParam();
    const Step& step = kSteps[target];
    Job job{driver_, nullptr, rec_.get()};
    std::map<std::string, uint32_t> before;
    bool ok = RunTo(job, target, [&] { before = Counts(); });
    const std::map<std::string, uint32_t> after = Counts();
    Finish(job);
    ASSERT_TRUE(ok) << step.name << " fails without an injected failure";
    const uint32_t handles = winsim_open_handles();

    uint32_t injected = 0;
    size_t services = 0;
    for (const auto& [service, total] : after) {
        const uint32_t calls = total - before[service];
        services += calls ? 1 : 0;
        for (uint32_t k = 0; k < calls; ++k) {
            SCOPED_TRACE(std::string(step.name) + ": " + service + " call " + std::to_string(k + 1));
            Job faulted{driver_, nullptr, rec_.get()};
            const bool done =
                RunTo(faulted, target, [&] { ASSERT_EQ(winsim_fail_calls(service.c_str(), k, 1), 1); });
            const DWORD error = GetLastError();
            ++injected;
            if (!done) {
                EXPECT_NE(error, static_cast<DWORD>(ERROR_SUCCESS)) << "failed without saying why";
            }
            Finish(faulted);
            EXPECT_EQ(winsim_engine_objects(), engineObjects_) << "a surface or palette was left behind";
            EXPECT_EQ(winsim_open_handles(), handles) << "a handle was left open";
        }
    }
    std::printf("[ fault sweep ] %s: %u injected failures over %zu services\n", step.name, injected,
                services);
}

INSTANTIATE_TEST_SUITE_P(EntryPoints, FaultSweep, ::testing::Range<size_t>(0, std::size(kSteps)),
                         [](const ::testing::TestParamInfo<size_t>& info) {
                             std::string name = kSteps[info.param].name;
                             for (char& c : name) {
                                 if (!std::isalnum(static_cast<unsigned char>(c))) {
                                     c = '_';
                                 }
                             }
                             return name;
                         });

} // namespace
