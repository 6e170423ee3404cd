#ifndef FUZZBODIES_H
#define FUZZBODIES_H

#include <cstddef>
#include <cstdint>

// One input through one reader, as the program would use it. Shared by the
// libFuzzer targets and by the test that replays their corpora and every
// input that ever crashed. They expect a scratch working directory.
namespace fuzzbodies {

int dataReader(const uint8_t* data, size_t size);

} // namespace fuzzbodies

#endif
