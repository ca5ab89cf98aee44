#include "fuzz/fuzz_support.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <fstream>

namespace fuzz {

void Fail(const char* condition, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: check failed: %s\n", file, line, condition);
    std::fflush(stderr);
    std::abort();
}

std::string TemporaryFolder() {
    static const QTemporaryDir folder;
    FUZZ_CHECK(folder.isValid());
    return folder.path().toStdString();
}

std::string WriteInputFile(const std::string& name, std::string_view bytes) {
    const std::string path = TemporaryFolder() + "/" + name;
    FUZZ_CHECK(QDir().mkpath(QFileInfo(QString::fromStdString(path)).path()));
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    FUZZ_CHECK(out.good());
    return path;
}

} // namespace fuzz
