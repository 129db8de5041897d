// Writes a generated post of the given size as a Big5 file with CR LF line
// breaks, for the whole-program benchmarks:
//   write_post MEGABYTES FILE
#include <QFile>

#include <cstdio>

#include "generated_post.h"
#include "text/big5_codec.h"

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: write_post MEGABYTES FILE\n");
        return 2;
    }
    const QString post = bench::GeneratedPost(QByteArray(argv[1]).toLongLong() * bench::kMegabyte);
    QFile file(QString::fromLocal8Bit(argv[2]));
    const QByteArray bytes = text::EncodeBig5(post, text::Unencodable::Fail).bytes;
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "write_post: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
