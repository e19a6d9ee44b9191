#pragma once
// One valid piece of data for every symbology, for the tests that draw or decode symbols.

#include <ostream>
#include <string>

#include "engine/BarTypes.h"

namespace ribbon::test {

struct SymbolSample {
    TBarType Type;
    const char* Name;  // as the ribbon tool's --type takes it
    std::string Data;
    // What a decoder reads back, or "" when zbar and ZXing do not read the symbology.
    std::string Decoded;
    bool ZbarReads = true;  // zbar lacks UPC-E with number system 1
};

inline const SymbolSample SymbolSamples[] = {
    {bcCode_2_5_interleaved, "i25", "1234567890", "1234567890"},
    {bcCode_2_5_industrial, "code_2_5_industrial", "123456", ""},
    {bcCode_2_5_matrix, "code_2_5_matrix", "123456", ""},
    {bcCode39, "code39", "CODE39-42", "CODE39-42"},
    {bcCode39Extended, "code39extended", "CODE39 EXT", "CODE39 EXT"},
    {bcCode128A, "code128a", "HELLO 123", "HELLO 123"},
    {bcCode128B, "code128b", "Hello World 1234", "Hello World 1234"},
    {bcCode128C, "code128c", "12345678", "12345678"},
    {bcCode93, "code93", "CODE93-TEST", "CODE93-TEST"},
    {bcCode93Extended, "code93extended", "CODE93 EXT", "CODE93 EXT"},
    {bcCodeMSI, "msi", "1234", ""},
    {bcCodePostNet, "postnet", "12345", ""},
    {bcCodeCodabar, "codabar", "123456", "123456"},
    {bcCodeEAN8, "ean8", "96385074", "96385074"},
    {bcCodeEAN13, "ean13", "5901234123457", "5901234123457"},
    {bcCodeUPC_A, "upca", "036000291452", "036000291452"},
    {bcCodeUPC_E0, "upce0", "1234565", "01234565"},
    {bcCodeUPC_E1, "upce1", "1234562", "11234562", false},
    {bcCodeUPC_Supp2, "upcsupp2", "12", ""},
    {bcCodeUPC_Supp5, "upcsupp5", "52495", ""},
    {bcCodeEAN128A, "ean128a", "0101234567890128", "0101234567890128"},
    {bcCodeEAN128B, "ean128b", "0101234567890128", "0101234567890128"},
    {bcCodeEAN128C, "ean128c", "0101234567890128", "0101234567890128"},
};

// gtest names a parameter by this instead of dumping its bytes.
inline void PrintTo(const SymbolSample& s, std::ostream* os) {
    *os << s.Name;
}

}  // namespace ribbon::test
