#pragma once
// MD5 (RFC 1321) of a file opened through TFileStreamW.

#include <string>

namespace korvala {

// Sets `digest` to the 32-digit MD5 text of the file's contents. An unopenable
// file throws KorvalaError "TFileStreamW: Cannot open file \"%s\". %s".
void MD5File(const std::u16string& fileName, std::string& digest);

}  // namespace korvala
