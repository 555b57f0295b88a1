// The entry of a fuzz target outside libFuzzer: each argument is a file or a folder, and every
// file (folders in name order, not descending) goes once through LLVMFuzzerTestOneInput. A
// reader that crashes, leaks or trips a sanitizer on a kept input fails the run; a folder
// without inputs fails as well, so that a misplaced corpus is not taken for a passing one.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <cstdint>
#include <cstdio>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size);

namespace {

bool Replay(const QString &Path)
{
    QFile F(Path);
    if (!F.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(Path));
        return false;
    }
    const QByteArray Bytes = F.readAll();
    std::fprintf(stderr, "replaying %s (%lld bytes)\n", qPrintable(Path), static_cast<long long>(Bytes.size()));
    // A copy of exactly the input's size, so that a read past its end is caught as libFuzzer
    // would catch it.
    std::vector<uint8_t> Copy(Bytes.begin(), Bytes.end());
    LLVMFuzzerTestOneInput(Copy.data(), Copy.size());
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    int Count = 0;
    bool Ok = argc > 1;
    for (int i = 1; i < argc; ++i) {
        const QString Arg = QString::fromLocal8Bit(argv[i]);
        if (QFileInfo(Arg).isDir()) {
            const QDir Dir(Arg);
            const QStringList Names = Dir.entryList(QDir::Files | QDir::Hidden, QDir::Name);
            if (Names.isEmpty()) {
                std::fprintf(stderr, "no inputs in %s\n", qPrintable(Arg));
                Ok = false;
            }
            for (const QString &Name : Names) {
                Ok = Replay(Dir.filePath(Name)) && Ok;
                ++Count;
            }
        } else {
            Ok = Replay(Arg) && Ok;
            ++Count;
        }
    }
    std::fprintf(stderr, "%d inputs replayed\n", Count);
    return Ok ? 0 : 1;
}
