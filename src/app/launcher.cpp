// `vendrak`, the program users and the desktop entry start. It only chooses
// which of the two programs runs and replaces itself by it with the same
// arguments, argv[0] included: whatever it loads every run pays on top of the
// program's own start, so it links the C library alone (no Qt, no C++
// library: no exceptions, no allocation, no streams).
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>

namespace {

constexpr int kExitNoProgram = 127;

// Help, version, the help's path and batch runs, which the command-line
// program runs without Qt's graphical libraries (a batch option without
// --batch is a usage error, which it says as well)...
const char* const kWithoutGraphics[] = {"-h", "--help", "-?", "--help-all", "-v", "--version", "--help-path",
                                        "--batch", "--roots", "--extrema", "--integral", "--value", "--json",
                                        "--verify", "--size", "--curves", "--fit-y"};
// ...unless the run makes a picture, which is the window's program's.
const char* const kPictures[] = {"--save", "--export-graph", "--figure"};

template <size_t N>
bool isOneOf(const char* argument, const char* const (&options)[N])
{
    const size_t length = std::strcspn(argument, "="); // --option=value
    for (const char* option : options)
        if (std::strlen(option) == length && std::strncmp(argument, option, length) == 0)
            return true;
    return false;
}

// A plain scan for option names, not the command line's parser (which is
// Qt's): it only saves the start of the program that is not needed. Both
// programs run every mode, the command-line one handing the window and the
// pictures on to the other, so an argument this scan reads wrongly (an
// option's value or a file named like an option) costs time, never a result.
bool needsGraphics(int argc, char** argv)
{
    bool withoutGraphics = false;
    for (int i = 1; i < argc && std::strcmp(argv[i], "--") != 0; ++i) {
        if (isOneOf(argv[i], kPictures))
            return true;
        withoutGraphics = withoutGraphics || isOneOf(argv[i], kWithoutGraphics);
    }
    return !withoutGraphics;
}

} // namespace

int main(int argc, char** argv)
{
    const char* const name = needsGraphics(argc, argv) ? VENDRAK_GUI_PROGRAM : VENDRAK_CLI_PROGRAM;
    char self[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    if (length < 0 || size_t(length) >= sizeof self - 1) { // the second: perhaps cut short
        std::fprintf(stderr, "vendrak: cannot find where this program is (/proc/self/exe): %s\n",
                     std::strerror(length < 0 ? errno : ENAMETOOLONG));
        return kExitNoProgram;
    }
    self[length] = '\0';
    *std::strrchr(self, '/') = '\0';
    // Beside this one in the build tree, else where it is installed; without
    // either, the installed place is the one named.
    char beside[PATH_MAX], installed[PATH_MAX];
    const int besideLength = std::snprintf(beside, sizeof beside, "%s/%s", self, name);
    const int installedLength =
        std::snprintf(installed, sizeof installed, "%s/%s/%s", self, VENDRAK_BIN_TO_LIBEXEC, name);
    if (besideLength < 0 || size_t(besideLength) >= sizeof beside || installedLength < 0 ||
        size_t(installedLength) >= sizeof installed) {
        std::fprintf(stderr, "vendrak: cannot start %s: %s\n", name, std::strerror(ENAMETOOLONG));
        return kExitNoProgram;
    }
    const char* const program = access(beside, F_OK) == 0 ? beside : installed;
    execv(program, argv);
    std::fprintf(stderr, "vendrak: cannot start %s: %s\n", program, std::strerror(errno));
    return kExitNoProgram;
}
