#include "store/connection.h"
#include "store/sqlite_statement.h"

#include <gtest/gtest.h>

#include <sqlite3.h>

#if defined(__x86_64__)
#include <cpuid.h>
#endif

using namespace qv::store;

namespace {

#if defined(__x86_64__)

// The processor tells which register state is in use through XGETBV with
// ECX = 1; bit 2 is the upper halves of the 256-bit registers.
bool canReadVectorState()
{
    unsigned a = 0, b = 0, c = 0, d = 0;
    if (!__get_cpuid(1, &a, &b, &c, &d) || !(c & bit_OSXSAVE) || !(c & bit_AVX))
        return false;
    return __get_cpuid_count(0xD, 1, &a, &b, &c, &d) && (a & (1u << 2));
}

bool upperHalvesInUse()
{
    unsigned low = 0, high = 0;
    __asm__ volatile("xgetbv" : "=a"(low), "=d"(high) : "c"(1));
    return (low & (1u << 2)) != 0;
}

// Not compiled for AVX, so the compiler adds no vzeroupper of its own on the
// way out; these are called only where canReadVectorState() found AVX.
void dirtyUpperHalves()
{
    __asm__ volatile("vpcmpeqd %%ymm1, %%ymm1, %%ymm1" ::: "xmm1");
}

void clearUpperHalves()
{
    __asm__ volatile("vzeroupper");
}

#else

bool canReadVectorState()
{
    return false;
}
bool upperHalvesInUse()
{
    return false;
}
void dirtyUpperHalves()
{
}
void clearUpperHalves()
{
}

#endif

void reportUpperHalves(sqlite3_context* context, int, sqlite3_value**)
{
    sqlite3_result_int(context, upperHalvesInUse() ? 1 : 0);
}

} // namespace

// Code that leaves the upper halves in use (Qt's string hashing does) would
// slow every SSE instruction of the engine until they are cleared: a
// statement clears them before the engine runs it.
TEST(VectorStateTest, TheEngineRunsAStatementWithTheUpperHalvesClear)
{
    if (!canReadVectorState())
        GTEST_SKIP() << "this processor does not say which vector state is in use";
    Connection connection = Connection::inMemory({});
    sqlite3_create_function(connection.get(), "upper_halves_in_use", 0, SQLITE_UTF8, nullptr,
                            reportUpperHalves, nullptr, nullptr);
    Statement probe(connection.get(), QStringLiteral("SELECT upper_halves_in_use()"));
    // A processor may report the state in use when it is not: it must be
    // seen made and seen cleared for the probe to tell anything.
    dirtyUpperHalves();
    const bool seenInUse = upperHalvesInUse();
    clearUpperHalves();
    if (!seenInUse || upperHalvesInUse())
        GTEST_SKIP() << "this processor does not track the upper halves' state exactly";
    dirtyUpperHalves();
    ASSERT_TRUE(probe.step());
    EXPECT_EQ(sqlite3_column_int(probe.get(), 0), 0);
}
