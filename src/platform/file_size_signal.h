#pragma once
// A write past the file-size limit of the process must fail like any other
// write (the tool then reports it and keeps the old file), not kill the process.
namespace vantor {

void reportOversizeWritesAsErrors();

}  // namespace vantor
