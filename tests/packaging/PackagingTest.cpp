// What an administrator installs: the validators of the desktop's standards pass the
// program's entries, its file type is known after installing, both programs answer --help
// and --version, and the Debian package made from this tree works from a fresh root.
#include <gtest/gtest.h>
#include <regex>

#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct Ran {
    int status = -1;
    std::string out; // standard output and standard error together
};

// command is a shell command line, its words already quoted.
Ran Shell(const std::string& command)
{
    Ran run;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe)
        return run;
    char buffer[4096];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        run.out.append(buffer, n);
    const int raw = pclose(pipe);
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return run;
}

std::string Quote(const fs::path& path)
{
    std::string quoted = "'";
    for (char c : path.string())
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

bool Installed(const std::string& tool)
{
    return Shell("command -v " + tool + " >/dev/null").status == 0;
}

std::string ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

const fs::path kRes = fs::path(KELTO4_SOURCE_DIR) / "res";
const std::string kId = KELTO4_APP_ID;

// A fresh folder per test, removed afterwards.
class Packaging : public testing::Test {
protected:
    void SetUp() override
    {
        m_dir = fs::path(testing::TempDir()) /
                ("kelto4-packaging-" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }
    fs::path m_dir;
};

struct Validator {
    const char* tool;
    const char* package; // where Debian has the tool
    const char* file;    // in res/, with {id} for the application id
    const char* command; // the tool's arguments before the file
};

void PrintTo(const Validator& v, std::ostream* os) { *os << v.tool; }

class Validators : public testing::TestWithParam<Validator> {};

TEST_P(Validators, FindNothingToReport)
{
    const Validator& v = GetParam();
    if (!Installed(v.tool))
        GTEST_SKIP() << v.tool << " is not installed (Debian package " << v.package << "; scripts/deps.sh installs it)";
    std::string file = v.file;
    if (const size_t at = file.find("{id}"); at != std::string::npos)
        file.replace(at, 4, kId);
    const Ran run = Shell(std::string(v.tool) + " " + v.command + " " + Quote(kRes / file));
    EXPECT_EQ(run.status, 0) << run.out;
    // appstreamcli says that it succeeded; the others say nothing at all.
    for (const char* bad : {"E:", "W:", "error", "warning"})
        EXPECT_EQ(run.out.find(bad), std::string::npos) << run.out;
}

INSTANTIATE_TEST_SUITE_P(Files, Validators, testing::Values(
    Validator{"appstreamcli", "appstream", "{id}.metainfo.xml", "validate --no-net"},
    Validator{"desktop-file-validate", "desktop-file-utils", "{id}.desktop", ""},
    Validator{"xmllint", "libxml2-utils", "kelto4-mime.xml", "--noout"}),
    [](const testing::TestParamInfo<Validator>& param) {
        std::string name;
        for (char c : std::string(param.param.tool))
            if (std::isalnum(static_cast<unsigned char>(c)))
                name += c;
        return name;
    });

// The desktop learns the type from our file alone: XDG_DATA_DIRS names only the prefix.
TEST_F(Packaging, AListIsOfTheProgramsTypeOnceTheTypeIsInstalledInAPrefix)
{
    for (const char* tool : {"update-mime-database", "xdg-mime", "mimetype"})
        if (!Installed(tool))
            GTEST_SKIP() << tool << " is not installed (scripts/deps.sh installs shared-mime-info, xdg-utils"
                         << " and libfile-mimeinfo-perl)";
    const fs::path prefix = m_dir / "share", list = m_dir / "Week 1.ktr";
    std::ofstream(list, std::ios::binary).write("\0\0", 2); // a list of no words
    const std::string env = "env XDG_DATA_HOME=" + Quote(m_dir / "home") + " XDG_CURRENT_DESKTOP=X-Generic ";
    const std::string query = "xdg-mime query filetype " + Quote(list);
    fs::create_directories(prefix / "mime/packages");
    fs::copy_file(kRes / "kelto4-mime.xml", prefix / "mime/packages/kelto4-mime.xml");
    const Ran update = Shell(env + "XDG_DATA_DIRS=" + Quote(prefix) + " update-mime-database " + Quote(prefix / "mime"));
    ASSERT_EQ(update.status, 0) << update.out;
    EXPECT_TRUE(fs::exists(prefix / "mime/application/x-kelto4-document.xml"));
    const Ran run = Shell(env + "XDG_DATA_DIRS=" + Quote(prefix) + " " + query);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "application/x-kelto4-document\n");
}

struct Asked {
    const char* program;
    const char* argument;
    const char* firstLine;
};

void PrintTo(const Asked& a, std::ostream* os) { *os << a.program << ' ' << a.argument; }

class CommandLine : public testing::TestWithParam<Asked> {};

// GNU layout: the version line names the program, the package and the release; help
// starts with the usage line. Both go to standard output and work without a display.
TEST_P(CommandLine, AnswersHelpAndVersionWithoutADisplay)
{
    const Asked& a = GetParam();
    const fs::path exe = std::string(a.program) == "kelto4" ? KELTO4_EXE : KELTO4_TOOL;
    const Ran run = Shell("env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " + Quote(exe) + " " + a.argument);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out.substr(0, run.out.find('\n')), a.firstLine);
    if (std::string(a.firstLine).find("Usage") == std::string::npos)
        EXPECT_NE(run.out.find("GPLv3+"), std::string::npos) << run.out;
    else
        EXPECT_NE(run.out.find("  -v, --version"), std::string::npos) << run.out;
}

INSTANTIATE_TEST_SUITE_P(Programs, CommandLine, testing::Values(
    Asked{"kelto4", "--version", "kelto4 (Keltora) 3.0.0"},
    Asked{"kelto4", "-h", "Usage: kelto4 [OPTION]... [LIST]"},
    Asked{"kelto4-tool", "-v", "kelto4-tool (Keltora) 3.0.0"},
    Asked{"kelto4-tool", "--help", "Usage: kelto4-tool dump FILE"}),
    [](const testing::TestParamInfo<Asked>& param) {
        std::string name;
        for (const char* part : {param.param.program, param.param.argument})
            for (const char* c = part; *c; ++c)
                if (std::isalnum(static_cast<unsigned char>(*c)))
                    name += *c;
        return name;
    });

TEST_F(Packaging, TheDebianPackageWorksInstalledIntoAFreshRoot)
{
    for (const char* tool : {"dpkg-deb", "dpkg-shlibdeps"})
        if (!Installed(tool))
            GTEST_SKIP() << tool << " is not installed (scripts/deps.sh installs dpkg-dev)";
    const fs::path out = m_dir / "out", root = m_dir / "root";
    const Ran pack = Shell(Quote(KELTO4_CPACK) + " --config " + Quote(KELTO4_CPACK_CONFIG) + " -B " + Quote(out));
    const fs::path deb = out / "keltora_3.0.0-1_amd64.deb";
    ASSERT_TRUE(fs::exists(deb)) << pack.out;

    const Ran control = Shell("dpkg-deb -f " + Quote(deb) + " Package Version Architecture Section Depends");
    EXPECT_NE(control.out.find("Package: keltora\nVersion: 3.0.0-1\nArchitecture: amd64\nSection: education\n"),
              std::string::npos) << control.out;
    // Worked out from the libraries the programs link, not written by hand.
    for (const char* library : {"libqt6widgets6", "libpulse0", "libsndfile1", "libc6"})
        EXPECT_NE(control.out.find(library), std::string::npos) << library << "\n" << control.out;

    if (geteuid() == 0) {
        // Installed by dpkg into an empty root of its own: unpacked and configured. The
        // libraries it depends on are this machine's, so dpkg is told not to look for them.
        fs::create_directories(root / "var/lib/dpkg/info");
        fs::create_directories(root / "var/lib/dpkg/updates");
        std::ofstream(root / "var/lib/dpkg/status");
        const Ran install = Shell("dpkg --root=" + Quote(root) + " --force-depends -i " + Quote(deb));
        ASSERT_EQ(install.status, 0) << install.out;
        EXPECT_NE(Shell("dpkg --root=" + Quote(root) + " -s keltora").out.find("Status: install ok installed\n"),
                  std::string::npos);
    } else {
        // dpkg may only install as root; unpacking puts the same files in place.
        ASSERT_EQ(Shell("dpkg-deb -x " + Quote(deb) + " " + Quote(root)).status, 0);
    }
    const fs::path usr = root / "usr";
    // One application id joins the desktop entry, the software-centre entry and the icons.
    for (const fs::path& file : {usr / "bin/kelto4", usr / "bin/kelto4-tool",
                                 usr / ("share/applications/" + kId + ".desktop"),
                                 usr / ("share/metainfo/" + kId + ".metainfo.xml"),
                                 usr / ("share/icons/hicolor/48x48/apps/" + kId + ".png"),
                                 usr / ("share/icons/hicolor/scalable/apps/" + kId + ".svg"),
                                 usr / "share/mime/packages/kelto4-mime.xml",
                                 usr / "share/man/man1/kelto4.1.gz", usr / "share/man/man1/kelto4-tool.1.gz",
                                 usr / "share/doc/keltora/copyright", usr / "share/doc/keltora/changelog.Debian.gz",
                                 usr / "share/kelto4/userguide.html", usr / "share/kelto4/Sample List.ktr",
                                 usr / "share/kelto4/word-banks.txt"})
        EXPECT_TRUE(fs::is_regular_file(file)) << file;
    EXPECT_NE(ReadFile(usr / ("share/applications/" + kId + ".desktop")).find("\nIcon=" + kId + "\n"), std::string::npos);
    EXPECT_NE(ReadFile(usr / ("share/metainfo/" + kId + ".metainfo.xml")).find(">" + kId + ".desktop</launchable>"),
              std::string::npos);
    EXPECT_EQ(ReadFile(usr / "share/man/man1/kelto4.1.gz").substr(0, 2), "\x1f\x8b");
    // The guide's pictures lie beside it, where its img elements point.
    const std::string guide = ReadFile(usr / "share/kelto4/userguide.html");
    const std::regex picture("<img src=\"([^\"]+)\"");
    int pictures = 0;
    for (auto it = std::sregex_iterator(guide.begin(), guide.end(), picture); it != std::sregex_iterator(); ++it, ++pictures)
        EXPECT_TRUE(fs::is_regular_file(usr / "share/kelto4" / (*it)[1].str())) << (*it)[1];
    EXPECT_GT(pictures, 0);

    const std::string tool = Quote(usr / "bin/kelto4-tool");
    Ran run = Shell(tool + " analyse friend freind");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "change ei to ie\n");
    run = Shell("env -u DISPLAY -u WAYLAND_DISPLAY " + Quote(usr / "bin/kelto4") + " --version");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out.substr(0, run.out.find('\n')), "kelto4 (Keltora) 3.0.0");
    // The installed sample list names the folder where its sounds are installed.
    run = Shell(tool + " dump " + Quote(usr / "share/kelto4/Sample List.ktr"));
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("CSpellingList\t\t/usr/share/kelto4/Sample List\tthe\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\tbecause\n"), std::string::npos) << run.out;
    // Every word of it has its spoken sound installed beside it.
    for (const char* word : {"the", "said", "friend", "because"})
        EXPECT_GT(fs::file_size(usr / "share/kelto4/Sample List" / (std::string(word) + ".wav")), 10000u) << word;
}

} // namespace
