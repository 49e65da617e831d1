// libFuzzer's entry for one target, chosen when built (ZELVAN_FUZZ_TARGET).
#include "fuzzsupport.h"

#include <cstdio>
#include <cstdlib>
#include <exception>

using namespace zelvan;

namespace {

[[noreturn]] void fail(const QString &what)
{
    std::fprintf(stderr, "fuzz target %s: %s\n", ZELVAN_FUZZ_TARGET, what.toUtf8().constData());
    std::abort();
}

const zelvan::fuzz::Target *target()
{
    static const zelvan::fuzz::Target *found = zelvan::fuzz::findTarget(ZELVAN_FUZZ_TARGET);
    if (!found)
        fail(QStringLiteral("no such target"));
    return found;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    zelvan::fuzz::ensureApplication();
    target();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    try {
        target()->run(QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size)));
    } catch (const zelvan::fuzz::PropertyFailed &failed) {
        fail(failed.what);
    } catch (const std::exception &error) {
        fail(QStringLiteral("exception escaped: ") + QString::fromUtf8(error.what()));
    } catch (...) {
        fail(QStringLiteral("unknown exception escaped"));
    }
    return 0;
}
