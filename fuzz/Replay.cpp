// A fuzz target as an ordinary test: its invariants on every input of the
// seed folder given. Usage: <target> [...] FOLDER (arguments before the
// folder, such as the output option the Windows test runner gives every
// test, are ignored)
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv);
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size);

int main(int argc, char *argv[]) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[argc - 1]));
    LLVMFuzzerInitialize(&argc, &argv);
    const QStringList names = folder.entryList(QDir::Files, QDir::Name);
    for (const QString &name : names) {
        QFile file(folder.filePath(name));
        const QByteArray input = file.open(QIODevice::ReadOnly) ? file.readAll() : "";
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t *>(input.data()),
                               std::size_t(input.size()));
    }
    std::printf("%d inputs, every invariant held\n", int(names.size()));
    return names.isEmpty() ? 1 : 0;
}
