// qelinfo: the format word, display title and information records of audio
// files, as the plug-in would hand them to its host.
#include <cstdio>
#include <string>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "platform/CdPlayerDatabase.h"
#include "platform/CodePage.h"
#include "tools/InfoReport.h"

namespace {

const char kHelp[] =
    "Prints, for each FILE in order, its format word (typetag), its display title\n"
    "and the fields of the sound and tag records after reading it.\n"
    "\n"
    "  --json        one JSON array with every field of every file, all values strings\n"
    "  --codepage N  the 8-bit code page of the records' texts (default: the system's;\n"
    "                1252 outside Windows)\n"
    "  --cdplayer FILE  the CD player database (cdplayer.ini) that names the tracks\n"
    "                of .cda files (default: the Windows directory's on Windows,\n"
    "                none elsewhere)\n"
    "  --help        this text\n"
    "\n"
    "A file that cannot be read is reported as notag and on standard error; the\n"
    "exit status is then 1. Usage errors exit with 2.\n";

// Paths for printing, in UTF-8: Windows hands them over in the ANSI code page.
std::string DisplayPath(const std::string& path) {
#ifdef _WIN32
    return qel::SystemToUtf8(path);
#else
    return path;
#endif
}

int UsageError(const std::string& message) {
    std::fprintf(stderr, "qelinfo: %s\n%s\n", message.c_str(), qel::kInfoUsage);
    return 2;
}

void Print(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
}

// Standard output gathered into large writes; what is pending goes out
// before anything is said on standard error, so the two keep their order.
class Output {
public:
    std::string& text() { return text_; }
    void Written() {
        if (text_.size() >= kChunk) Flush();
    }
    void Flush() {
        std::fwrite(text_.data(), 1, text_.size(), stdout);
        std::fflush(stdout);
        text_.clear();
    }

private:
    static constexpr size_t kChunk = 64 * 1024;
    std::string text_;
};

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
    // The same bytes as on Linux: UTF-8 with bare line feeds.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    std::string error;
    auto options = qel::ParseInfoArguments(std::vector<std::string>(argv + 1, argv + argc), error);
    if (!options) return UsageError(error);
    if (options->help) {
        Print(std::string(qel::kInfoUsage) + "\n\n" + kHelp);
        return 0;
    }
    std::vector<std::string> shown;
    for (const auto& file : options->files) shown.push_back(DisplayPath(file));
    if (options->codePage && !qel::SelectCodePage(*options->codePage))
        return UsageError("unsupported code page: " + std::to_string(*options->codePage));

    if (options->cdPlayerDatabase) qel::SetCdPlayerIniPath(*options->cdPlayerDatabase);

    // Each file is written out as soon as it is read.
    bool failed = false;
    Output out;
    qel::ReportReader reader(qel::SystemFiles());
    for (size_t i = 0; i < options->files.size(); ++i) {
        const qel::FileReport report = reader.Read(options->files[i], shown[i]);
        if (!report.error.empty()) {
            out.Flush();
            std::fprintf(stderr, "qelinfo: %s: %s\n", shown[i].c_str(), report.error.c_str());
            failed = true;
        }
        if (options->json) {
            qel::AppendJsonReport(out.text(), report, i == 0);
        } else {
            if (i > 0) out.text() += '\n';
            out.text() += qel::TextReport(report);
        }
        out.Written();
    }
    if (options->json) qel::AppendJsonEnd(out.text(), options->files.empty());
    out.Flush();
    return failed ? 1 : 0;
}
