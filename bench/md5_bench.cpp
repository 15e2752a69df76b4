// Our MD5 against OpenSSL's on the same in-memory buffers, in one run; ends with the
// throughput ratio per size (above 1.00: ours is faster).
#define OPENSSL_SUPPRESS_DEPRECATED  // the plain MD5 calls are the fairest peer
#include <openssl/md5.h>

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "md5.h"

namespace {

const std::int64_t sizes[] = {64, 4 << 10, 1 << 20, 256 << 20};

const std::vector<std::uint8_t>& Buffer()
{
    static const std::vector<std::uint8_t> buffer = [] {
        std::vector<std::uint8_t> bytes(static_cast<std::size_t>(256 << 20));
        std::uint32_t seed = 12345;
        for (auto& byte : bytes) {
            seed = seed * 1664525u + 1013904223u;
            byte = static_cast<std::uint8_t>(seed >> 24);
        }
        return bytes;
    }();
    return buffer;
}

void Kelvara(benchmark::State& state)
{
    const auto size = static_cast<std::uint32_t>(state.range(0));
    const std::uint8_t* bytes = Buffer().data();
    for (auto _ : state) {
        Md5Context context;
        Md5Begin(&context);
        Md5Feed(&context, bytes, size);
        Md5Finish(&context);
        benchmark::DoNotOptimize(context.digest);
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}

void OpenSsl(benchmark::State& state)
{
    const auto size = static_cast<std::size_t>(state.range(0));
    const std::uint8_t* bytes = Buffer().data();
    for (auto _ : state) {
        MD5_CTX context;
        unsigned char digest[MD5_DIGEST_LENGTH];
        MD5_Init(&context);
        MD5_Update(&context, bytes, size);
        MD5_Final(digest, &context);
        benchmark::DoNotOptimize(digest);
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}

// Keeps the median time of each benchmark so the ratios can be printed at the end.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& reports) override
    {
        ConsoleReporter::ReportRuns(reports);
        for (const Run& run : reports) {
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            const bool single = run.run_type == Run::RT_Iteration && run.repetitions <= 1;
            if (!run.error_occurred && (median || single))
                times[run.run_name.function_name][run.run_name.args] = run.GetAdjustedRealTime();
        }
    }

    void PrintRatios() const
    {
        auto ours = times.find("Kelvara");
        auto peer = times.find("OpenSsl");
        if (ours == times.end() || peer == times.end())
            return;
        std::printf("\nThroughput ratio, Kelvara MD5 / OpenSSL MD5 (median times):\n");
        for (std::int64_t size : sizes) {
            const std::string arg = std::to_string(size);
            auto a = ours->second.find(arg);
            auto b = peer->second.find(arg);
            if (a != ours->second.end() && b != peer->second.end())
                std::printf("  %10lld bytes: %.3f\n", static_cast<long long>(size), b->second / a->second);
        }
    }

private:
    std::map<std::string, std::map<std::string, double>> times;
};

}  // namespace

int main(int argc, char** argv)
{
    // Alternate ours and OpenSSL's at each size, so a neighbour's load hits both alike.
    for (std::int64_t size : sizes) {
        benchmark::RegisterBenchmark("Kelvara", Kelvara)->Arg(size)->Repetitions(5)->ReportAggregatesOnly(true);
        benchmark::RegisterBenchmark("OpenSsl", OpenSsl)->Arg(size)->Repetitions(5)->ReportAggregatesOnly(true);
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    Buffer();
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    reporter.PrintRatios();
    return 0;
}
