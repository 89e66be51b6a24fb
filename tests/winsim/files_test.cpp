// Files: where Windows paths land on the host, what each creation disposition does, share modes within and
// across processes, and reading to the end.
#include "winsim_test.h"

#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>

namespace {

std::u16string widen(const std::string& ascii) {
    return std::u16string(ascii.begin(), ascii.end());
}

class FilesTest : public WinsimTest {
  protected:
    static HANDLE open(const std::u16string& path, DWORD access, DWORD share, DWORD disposition) {
        return CreateFileW(path.c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    }

    std::string host(const std::string& relative) const { return root_ + "/" + relative; }

    void write_host(const std::string& relative, const std::string& content) const {
        std::filesystem::create_directories(std::filesystem::path(host(relative)).parent_path());
        std::ofstream(host(relative), std::ios::binary) << content;
    }

    std::string read_host(const std::string& relative) const {
        std::ifstream in(host(relative), std::ios::binary);
        std::stringstream content;
        content << in.rdbuf();
        return content.str();
    }
};

TEST_F(FilesTest, DrivePathsLandUnderTheRoot) {
    const std::u16string path = u"C:\\labels\\paper.csv";
    EXPECT_EQ(open(path, GENERIC_WRITE, 0, CREATE_NEW), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND)) << "the folder does not exist yet";

    std::filesystem::create_directories(host("c/labels"));
    HANDLE file = open(path, GENERIC_WRITE, 0, CREATE_NEW);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(file, "id,name\r\n", 9, &written, nullptr));
    EXPECT_EQ(written, 9u);
    ASSERT_TRUE(CloseHandle(file));
    EXPECT_EQ(read_host("c/labels/paper.csv"), "id,name\r\n");

    // Drive letters ignore case and forward slashes work too; a host path is used as it is.
    for (const std::u16string& other :
         {std::u16string(u"c:/labels/paper.csv"), widen(host("c/labels/paper.csv"))}) {
        file = open(other, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        char content[16];
        DWORD read = 0;
        EXPECT_TRUE(ReadFile(file, content, sizeof content, &read, nullptr));
        EXPECT_EQ(std::string(content, read), "id,name\r\n");
        CloseHandle(file);
    }
}

TEST_F(FilesTest, DispositionsCreateTruncateOrRefuse) {
    struct Case {
        const char* what;
        DWORD disposition;
        bool exists;
        DWORD error; // GetLastError after the call, success or not
        bool opens;
        const char* content_after;
    };
    const Case cases[] = {
        {"create new, absent", CREATE_NEW, false, ERROR_SUCCESS, true, ""},
        {"create new, present", CREATE_NEW, true, ERROR_FILE_EXISTS, false, "old"},
        {"create always, absent", CREATE_ALWAYS, false, ERROR_SUCCESS, true, ""},
        {"create always, present", CREATE_ALWAYS, true, ERROR_ALREADY_EXISTS, true, ""},
        {"open existing, absent", OPEN_EXISTING, false, ERROR_FILE_NOT_FOUND, false, nullptr},
        {"open existing, present", OPEN_EXISTING, true, ERROR_SUCCESS, true, "old"},
        {"open always, absent", OPEN_ALWAYS, false, ERROR_SUCCESS, true, ""},
        {"open always, present", OPEN_ALWAYS, true, ERROR_ALREADY_EXISTS, true, "old"},
        {"truncate existing, absent", TRUNCATE_EXISTING, false, ERROR_FILE_NOT_FOUND, false, nullptr},
        {"truncate existing, present", TRUNCATE_EXISTING, true, ERROR_SUCCESS, true, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove(host("c/f.txt"));
        if (c.exists)
            write_host("c/f.txt", "old");
        SetLastError(0xDEADBEEF);
        HANDLE file = open(u"C:\\f.txt", GENERIC_READ | GENERIC_WRITE, 0, c.disposition);
        EXPECT_EQ(GetLastError(), c.error);
        EXPECT_EQ(file != INVALID_HANDLE_VALUE, c.opens);
        if (file != INVALID_HANDLE_VALUE)
            CloseHandle(file);
        if (c.content_after) {
            EXPECT_EQ(read_host("c/f.txt"), c.content_after);
        } else {
            EXPECT_FALSE(std::filesystem::exists(host("c/f.txt")));
        }
    }
}

TEST_F(FilesTest, ReadingStopsAtTheEnd) {
    write_host("c/data.bin", "0123456789");
    HANDLE file = open(u"C:\\data.bin", GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    char buffer[8];
    DWORD read = 0;
    ASSERT_TRUE(ReadFile(file, buffer, 4, &read, nullptr));
    EXPECT_EQ(std::string(buffer, read), "0123");
    ASSERT_TRUE(ReadFile(file, buffer, 8, &read, nullptr));
    EXPECT_EQ(std::string(buffer, read), "456789");
    // At the end a synchronous read succeeds with nothing.
    read = 99;
    ASSERT_TRUE(ReadFile(file, buffer, 8, &read, nullptr));
    EXPECT_EQ(read, 0u);

    DWORD written = 99;
    EXPECT_FALSE(WriteFile(file, "x", 1, &written, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED)) << "the handle was opened for reading";
    EXPECT_EQ(written, 0u);

    ASSERT_TRUE(CloseHandle(file));
    EXPECT_FALSE(ReadFile(file, buffer, 8, &read, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_FALSE(CloseHandle(file));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST_F(FilesTest, ShareModesDecideWhetherASecondOpenSucceeds) {
    constexpr DWORD R = GENERIC_READ, W = GENERIC_WRITE, SR = FILE_SHARE_READ, SW = FILE_SHARE_WRITE;
    struct Case {
        DWORD first_access, first_share, second_access, second_share;
        bool second_opens;
    };
    const Case cases[] = {
        {R, SR, R, SR, true},       {R, SR, R, 0, false}, // the second would refuse the first's reading
        {R, 0, R, SR, false},                             // the first refuses reading
        {R, SR, W, SR | SW, false},                       // the first refuses writing
        {W, SR, R, SR, false},                            // the second would refuse the first's writing
        {W, SR, R, SR | SW, true},  {R | W, SR | SW, R | W, SR | SW, true},
        {0, 0, R | W, 0, true}, // an open without access conflicts with nothing
    };
    write_host("c/shared.txt", "keep");
    for (const Case& c : cases) {
        SCOPED_TRACE("first " + std::to_string(c.first_access >> 30) + "/" + std::to_string(c.first_share) +
                     ", second " + std::to_string(c.second_access >> 30) + "/" +
                     std::to_string(c.second_share));
        HANDLE first = open(u"C:\\shared.txt", c.first_access, c.first_share, OPEN_EXISTING);
        ASSERT_NE(first, INVALID_HANDLE_VALUE);
        HANDLE second = open(u"C:\\shared.txt", c.second_access, c.second_share, OPEN_EXISTING);
        EXPECT_EQ(second != INVALID_HANDLE_VALUE, c.second_opens);
        if (second != INVALID_HANDLE_VALUE) {
            CloseHandle(second);
        } else {
            EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
        }
        CloseHandle(first);
    }
    // A refused CREATE_ALWAYS must not have truncated the file.
    HANDLE holder = open(u"C:\\shared.txt", R, 0, OPEN_EXISTING);
    EXPECT_EQ(open(u"C:\\shared.txt", W, SR | SW, CREATE_ALWAYS), INVALID_HANDLE_VALUE);
    CloseHandle(holder);
    EXPECT_EQ(read_host("c/shared.txt"), "keep");
}

TEST_F(FilesTest, ShareModesHoldAcrossProcesses) {
    write_host("c/label.csv", "1,Standard\r\n");
    int to_parent[2], to_child[2];
    ASSERT_EQ(pipe(to_parent), 0);
    ASSERT_EQ(pipe(to_child), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // The child holds the file open for writing, sharing nothing, until told to let go.
        HANDLE file = open(u"C:\\label.csv", GENERIC_WRITE, 0, OPEN_EXISTING);
        const char state = file != INVALID_HANDLE_VALUE ? 'o' : 'x';
        [[maybe_unused]] ssize_t n = write(to_parent[1], &state, 1);
        char go;
        n = read(to_child[0], &go, 1);
        CloseHandle(file);
        _exit(0);
    }
    char state = 0;
    ASSERT_EQ(read(to_parent[0], &state, 1), 1);
    ASSERT_EQ(state, 'o');

    EXPECT_EQ(open(u"C:\\label.csv", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING),
              INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    EXPECT_FALSE(DeleteFileW(u"C:\\label.csv"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));

    ASSERT_EQ(write(to_child[1], "g", 1), 1);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    HANDLE file = open(u"C:\\label.csv", GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
    EXPECT_NE(file, INVALID_HANDLE_VALUE) << "the child's handle is gone with it";
    CloseHandle(file);
    for (int fd : {to_parent[0], to_parent[1], to_child[0], to_child[1]})
        close(fd);
}

TEST_F(FilesTest, DeletingHonoursOpenHandles) {
    write_host("c/old.csv", "x");
    HANDLE keeps = open(u"C:\\old.csv", GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
    EXPECT_FALSE(DeleteFileW(u"C:\\old.csv"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    CloseHandle(keeps);

    HANDLE lets_go = open(u"C:\\old.csv", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, OPEN_EXISTING);
    EXPECT_TRUE(DeleteFileW(u"C:\\old.csv"));
    CloseHandle(lets_go);
    EXPECT_FALSE(std::filesystem::exists(host("c/old.csv")));

    EXPECT_FALSE(DeleteFileW(u"C:\\old.csv"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

} // namespace
