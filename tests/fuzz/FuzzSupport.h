#pragma once
// Shared by the fuzz targets: a scratch folder of the process's own, and writing an input there
// under the name the reader looks for.
#include <cstddef>
#include <cstdint>
#include <string>

// The scratch folder, made on first use.
const std::string& FuzzFolder();
// Writes the input to name inside the scratch folder (folders on the way are made); the path.
std::string WriteFuzzInput(const std::string& name, const std::uint8_t* data, std::size_t size);
// Stops the run (and so the fuzzer reports the input) when a reader broke its promise.
void FuzzCheck(bool condition, const char* what);

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
