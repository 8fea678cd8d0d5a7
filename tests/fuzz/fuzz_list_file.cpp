// Any bytes as kaomoji.ini, loaded from a temporary directory standing in for the program's.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

#include "tests/fuzz/SettingsChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    // Short relative names the fuzzer can hit name real dictionary files: the run works in
    // the directory that holds them.
    static QTemporaryDir dir;
    static const bool ready = [] {
        for (const char* name : {"a", "b.txt"}) {
            QFile file(dir.filePath(QString::fromLatin1(name)));
            if (file.open(QIODevice::WriteOnly)) {
                file.write("(^_^)\r\n \x81\x40\r\n\r\n\x82\xa0 \n");
            }
        }
        return QDir::setCurrent(dir.path());
    }();
    (void)ready;
    const std::string problem = masumemo::fuzzcheck::checkListFile(
        std::string_view(reinterpret_cast<const char*>(bytes), size), dir.path());
    if (!problem.empty()) {
        std::fprintf(stderr, "kaomoji.ini: %s\n", problem.c_str());
        std::abort();
    }
    return 0;
}
