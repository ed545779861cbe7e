// A fuzz target as an ordinary test: its invariants on every input of the
// seed folders given. Usage: <target> FOLDER...
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv);
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size);

int main(int argc, char *argv[]) {
    LLVMFuzzerInitialize(&argc, &argv);
    int inputs = 0;
    for (int i = 1; i < argc; ++i) {
        const QDir folder(QString::fromLocal8Bit(argv[i]));
        for (const QString &name : folder.entryList(QDir::Files, QDir::Name)) {
            QFile file(folder.filePath(name));
            const QByteArray input = file.open(QIODevice::ReadOnly) ? file.readAll() : "";
            LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t *>(input.data()),
                                   std::size_t(input.size()));
            ++inputs;
        }
    }
    std::printf("%d inputs, every invariant held\n", inputs);
    return inputs > 0 ? 0 : 1;
}
