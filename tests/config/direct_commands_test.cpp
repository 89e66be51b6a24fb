// The three direct printer commands: each a RAW job of exactly its three bytes, and every spooler failure
// unwound.
#include "config_fixture.h"

#include "direct_commands.h"

#include "bytes.h"

namespace {

class DirectCommands : public ConfigTest {
  protected:
    struct JobSeen {
        std::string Document, Datatype;
        bool Ended = false;
        Bytes Data;
    };
    static JobSeen JobAt(uint32_t index) {
        JobSeen j;
        char document[256] = {};
        char datatype[64] = {};
        int ended = 0;
        EXPECT_EQ(winsim_job_info(kPrinterName, index, document, sizeof(document), datatype, sizeof(datatype),
                                  &ended),
                  1);
        j.Document = document;
        j.Datatype = datatype;
        j.Ended = ended != 0;
        j.Data.resize(16);
        const int32_t n = winsim_job_bytes(kPrinterName, index, j.Data.data(), 16);
        j.Data.resize(n < 0 ? 0 : static_cast<size_t>(n));
        return j;
    }
};

TEST_F(DirectCommands, EachButtonsJob) {
    const struct {
        DirectCommand Command;
        const char* Document;
        Bytes Data;
    } cases[] = {
        {DIRECT_CUT, "最後のカット", {0x02, 0x12, 0x03}},
        {DIRECT_FEED, "一枚空送り", {0x02, 0x0C, 0x03}},
        {DIRECT_TEST_PRINT, "テスト印字", {0x02, 0x54, 0x03}},
    };
    uint32_t index = 0;
    for (const auto& c : cases) {
        DWORD written = 0;
        EXPECT_TRUE(SendDirectCommand(kPrinterNameW, c.Command, &written)) << c.Document;
        EXPECT_EQ(written, 3u);
        const JobSeen job = JobAt(index++);
        EXPECT_EQ(job.Document, c.Document);
        EXPECT_EQ(job.Datatype, "RAW");
        EXPECT_TRUE(job.Ended);
        EXPECT_TRUE(SameBytes(c.Data, job.Data.data(), job.Data.size()));
    }
    EXPECT_EQ(LogLineStarting("OpenPrinterW name=Label Printer access=0x00000008").empty(), false)
        << "opened without defaults";
    EXPECT_EQ(winsim_call_count("StartPagePrinter"), 0u);
}

TEST_F(DirectCommands, FeedTwiceIsTwoJobsWhateverThePrintersDataType) {
    // A printer whose jobs are EMF unless told otherwise.
    PRINTER_INFO_2W info = {};
    WCHAR emf[] = TEXT("NT EMF 1.008");
    info.pDatatype = emf;
    info.Attributes = PRINTER_ATTRIBUTE_LOCAL;
    ASSERT_TRUE(SetPrinterW(printer_, 2, reinterpret_cast<LPBYTE>(&info), 0));
    DWORD written = 0;
    ASSERT_TRUE(SendDirectCommand(kPrinterNameW, DIRECT_FEED, &written));
    ASSERT_TRUE(SendDirectCommand(kPrinterNameW, DIRECT_FEED, &written));
    ASSERT_EQ(winsim_job_count(kPrinterName), 2u);
    for (uint32_t i = 0; i < 2; ++i) {
        const JobSeen job = JobAt(i);
        EXPECT_EQ(job.Document, "一枚空送り");
        EXPECT_EQ(job.Datatype, "RAW");
        EXPECT_TRUE(SameBytes({0x02, 0x0C, 0x03}, job.Data.data(), job.Data.size())) << "job " << i;
    }
}

TEST_F(DirectCommands, UnknownPrinterSendsNothing) {
    DWORD written = 0xDEADBEEF;
    EXPECT_FALSE(SendDirectCommand(TEXT("No such printer"), DIRECT_CUT, &written));
    EXPECT_EQ(written, 0u);
    EXPECT_FALSE(SendDirectCommand(nullptr, DIRECT_CUT, &written));
    EXPECT_FALSE(SendDirectCommand(kPrinterNameW, static_cast<DirectCommand>(3), &written));
    EXPECT_EQ(winsim_call_count("StartDocPrinterW"), 0u);
    EXPECT_EQ(winsim_job_count(kPrinterName), 0u);
}

TEST_F(DirectCommands, EachSpoolerCallFailingOnce) {
    const uint32_t handles = winsim_open_handles();
    const struct {
        const char* Service;
        bool Result;
        bool JobStarted;
        bool Ended; // whether the started job was ended
    } cases[] = {
        {"OpenPrinterW", false, false, false}, {"StartDocPrinterW", false, false, false},
        {"WritePrinter", false, true, true},   {"EndDocPrinter", false, true, true},
        {"ClosePrinter", false, true, true},
    };
    uint32_t jobs = 0;
    for (const auto& c : cases) {
        winsim_fail_calls(c.Service, 0, 1);
        DWORD written = 0;
        EXPECT_EQ(SendDirectCommand(kPrinterNameW, DIRECT_TEST_PRINT, nullptr) != FALSE, c.Result)
            << c.Service;
        winsim_clear_faults();
        EXPECT_EQ(winsim_open_handles(), handles) << c.Service << ": the printer is closed again";
        EXPECT_EQ(winsim_job_count(kPrinterName), jobs + (c.JobStarted ? 1 : 0)) << c.Service;
        if (c.JobStarted) {
            EXPECT_EQ(JobAt(jobs).Ended, c.Ended) << c.Service;
            ++jobs;
        }
        (void)written;
    }
    // A spooler that takes fewer bytes than the command has: reported, and the job still ended.
    winsim_set_write_limit(kPrinterName, 2, 0);
    DWORD written = 0;
    EXPECT_FALSE(SendDirectCommand(kPrinterNameW, DIRECT_CUT, &written));
    EXPECT_EQ(written, 2u);
    EXPECT_TRUE(JobAt(jobs).Ended);
    EXPECT_EQ(winsim_open_handles(), handles);
}

} // namespace
