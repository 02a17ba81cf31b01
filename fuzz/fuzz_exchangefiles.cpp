#include "fuzzchecks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    return FuzzChecks::RunCheck(FuzzChecks::ExchangeFiles, data, size);
}
