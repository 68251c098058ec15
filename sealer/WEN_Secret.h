#pragma once
// The score sealing library: seals a byte block into a larger block that looks random, and
// unseals it again with a checksum test. These three functions are all the library exports.

#define WEN_SECRET_API extern "C" __attribute__((visibility("default")))

// The size of the sealed block for len plain bytes: (len / 8) * 8 + 16, or -1 when that size
// does not fit in an int.
WEN_SECRET_API int GetPassLen(int len);

// Seals len plain bytes (len >= 8) into GetPassLen(len) bytes of sealed. bind = 1 ties the block
// to this machine. Returns 0, or -1 having written nothing.
WEN_SECRET_API int SetSecret(unsigned char* plain, int len, unsigned char* sealed, int bind);

// Unseals sealedLen bytes of sealed into plain, which has room for sealedLen bytes; *len gets the
// plain length and plain[*len..sealedLen-1] is zeroed. Returns 0 when the checksum holds, -1
// otherwise. A block whose shape no SetSecret could have made gives -1 with *len = 0 and plain
// zeroed; nothing outside the sealedLen bytes is ever touched.
WEN_SECRET_API int GetSecret(unsigned char* plain, int* len, unsigned char* sealed, int sealedLen,
                             int bind);
