#ifndef FUZZBODIES_H
#define FUZZBODIES_H

#include <cstddef>
#include <cstdint>

// One input through one reader, as the program would use it; each libFuzzer
// target runs one body. They run in a scratch working directory made ready by
// prepare().
namespace fuzzbodies {

// The store folders and a small creature data file for team loads.
void prepare();

int dataReader(const uint8_t* data, size_t size);
int dataMoves(const uint8_t* data, size_t size);
int ownerFile(const uint8_t* data, size_t size);
int teamFile(const uint8_t* data, size_t size);
int artworkImage(const uint8_t* data, size_t size);

} // namespace fuzzbodies

#endif
