#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <stdexcept>

#include "platform/module_loader.h"

using namespace Qt::StringLiterals;

namespace {

struct Outcome {
    void* entry = nullptr;
    QString failure;  // the error text, empty when the entry was found
    int readied = 0;  // how often beforeLoad ran
};

Outcome Load(const QString& file, const QString& dir, const char* symbol)
{
    Outcome outcome;
    try {
        outcome.entry = platform::LoadModuleEntry(file, dir, symbol, u"無法載入列印元件"_s,
                                                  [&outcome] { ++outcome.readied; });
    } catch (const std::runtime_error& failure) {
        outcome.failure = QString::fromUtf8(failure.what());
    }
    return outcome;
}

// The three ways a module is looked for: already in the program, not there
// at all, and there but not a library. Only a module that is there is
// readied for.
TEST(ModuleLoader, FindsTheLinkedEntryAndReportsAMissingOrBrokenModule)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile broken(dir.filePath(u"libquillpost_broken.so"_s));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("not a library\n");
    broken.close();

    // Any function the process has already stands for a linked module's entry.
    const Outcome linked = Load(u"libquillpost_absent.so"_s, dir.path(), "getpid");
    EXPECT_NE(linked.entry, nullptr);
    EXPECT_EQ(linked.failure, QString());
    EXPECT_EQ(linked.readied, 1);

    const Outcome missing = Load(u"libquillpost_absent.so"_s, dir.path(), "quillpost_no_entry");
    EXPECT_EQ(missing.entry, nullptr);
    EXPECT_EQ(missing.failure, u"無法載入列印元件\n找不到 libquillpost_absent.so"_s);
    EXPECT_EQ(missing.readied, 0);

    const Outcome unloadable =
        Load(u"libquillpost_broken.so"_s, dir.path(), "quillpost_no_entry");
    EXPECT_EQ(unloadable.entry, nullptr);
    EXPECT_TRUE(unloadable.failure.startsWith(u"無法載入列印元件\n"_s)) << unloadable.failure.toStdString();
    EXPECT_TRUE(unloadable.failure.contains(u"libquillpost_broken.so"_s))
        << unloadable.failure.toStdString();
    EXPECT_EQ(unloadable.readied, 1);
}

}  // namespace
