// What a .x mesh file may claim before it reaches the importer, which sizes its arrays by the
// counts the file states and only then reads the data behind them.
#pragma once

#include <cstddef>

// True for a text-format .x file none of whose possible counts exceeds what the file can hold or
// a sane maximum, and whose structure is small enough to import in bounded time. Binary and
// compressed .x files are refused: their counts cannot be bounded without decoding them; so are
// skinned meshes, whose bone weights the importer trusts, and normals whose faces name a normal
// beyond their list, which the importer looks up unchecked.
bool XFileWithinBounds(const unsigned char* data, std::size_t size);
