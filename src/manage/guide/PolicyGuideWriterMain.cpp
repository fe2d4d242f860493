// policy_guide_writer SOURCE.md OUTPUT.pdf: the policy guide, made at build time.
#include <QFile>
#include <QGuiApplication>
#include <cstdio>

#include "manage/guide/PolicyGuidePdf.h"

int main(int argc, char* argv[]) {
    QGuiApplication application(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: policy_guide_writer SOURCE.md OUTPUT.pdf\n");
        return 2;
    }
    QFile source(QString::fromLocal8Bit(argv[1]));
    if (!source.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "policy_guide_writer: cannot read %s\n", argv[1]);
        return 1;
    }
    if (!vn::WritePolicyGuidePdf(QString::fromUtf8(source.readAll()), QString::fromLocal8Bit(argv[2]))) {
        std::fprintf(stderr, "policy_guide_writer: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
