// Writes the Blowfish initial tables as hexadecimal text. The tables are the fractional
// hexadecimal digits of pi, so they are computed here instead of being typed in: Machin's
// formula pi = 16 atan(1/5) - 4 atan(1/239) on fixed-point numbers of 32-bit words.

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace {

constexpr std::size_t kPArrayWords = 18;
constexpr std::size_t kSBoxCount = 4;
constexpr std::size_t kSBoxWords = 256;
constexpr std::size_t kTableWords = kPArrayWords + kSBoxCount * kSBoxWords;
// Far more guard bits than the accumulated truncation error needs; checked below anyway.
constexpr std::size_t kGuardWords = 4;

// Word 0 is the integer part, words 1.. are the fraction, most significant first.
using Fixed = std::vector<std::uint32_t>;

// Truncating division by a small divisor. Words before `from` must be zero; they stay so,
// which lets the shrinking powers skip their leading zeros.
void divide(Fixed &x, std::uint32_t divisor, std::size_t from = 0)
{
    std::uint64_t rem = 0;
    for (std::size_t i = from; i < x.size(); ++i) {
        const std::uint64_t cur = (rem << 32) | x[i];
        x[i] = static_cast<std::uint32_t>(cur / divisor);
        rem = cur % divisor;
    }
}

void add(Fixed &acc, const Fixed &x)
{
    std::uint64_t carry = 0;
    for (std::size_t i = acc.size(); i-- > 0;) {
        const std::uint64_t sum = std::uint64_t(acc[i]) + x[i] + carry;
        acc[i] = static_cast<std::uint32_t>(sum);
        carry = sum >> 32;
    }
}

void subtract(Fixed &acc, const Fixed &x)
{
    std::uint32_t borrow = 0;
    for (std::size_t i = acc.size(); i-- > 0;) {
        const std::uint64_t sub = std::uint64_t(x[i]) + borrow;
        borrow = acc[i] < sub ? 1 : 0;
        acc[i] = static_cast<std::uint32_t>(acc[i] - sub);
    }
}

void multiply(Fixed &x, std::uint32_t factor)
{
    std::uint64_t carry = 0;
    for (std::size_t i = x.size(); i-- > 0;) {
        const std::uint64_t prod = std::uint64_t(x[i]) * factor + carry;
        x[i] = static_cast<std::uint32_t>(prod);
        carry = prod >> 32;
    }
}

// atan(1/x) = sum (-1)^k / ((2k+1) x^(2k+1)). Adds to *terms the number of terms used,
// which bounds the truncation error in units of the last word.
Fixed arctanInverse(std::uint32_t x, std::size_t words, std::uint64_t *terms)
{
    Fixed sum(words, 0);
    Fixed power(words, 0);
    Fixed term(words, 0);
    power[0] = 1;
    divide(power, x);
    const std::uint32_t xSquared = x * x;
    std::size_t lead = 0;
    for (std::uint32_t k = 0;; ++k) {
        while (lead < words && power[lead] == 0)
            ++lead;
        if (lead == words)
            break;
        term = power;
        divide(term, 2 * k + 1, lead);
        if (k % 2 == 0)
            add(sum, term);
        else
            subtract(sum, term);
        divide(power, xSquared, lead);
        ++*terms;
    }
    return sum;
}

// True when an error of up to `bound` units of the last word cannot change the words in
// front of the guard words, i.e. no carry or borrow can reach them.
bool guardHoldsError(const Fixed &pi, std::uint64_t bound)
{
    const std::size_t first = pi.size() - kGuardWords;
    // Guard words as a number: safe when bound <= guard <= max - bound.
    bool allZero = true;
    bool allOnes = true;
    for (std::size_t i = first; i + 2 < pi.size(); ++i) {
        allZero = allZero && pi[i] == 0;
        allOnes = allOnes && pi[i] == 0xFFFFFFFFu;
    }
    const std::uint64_t low = (std::uint64_t(pi[pi.size() - 2]) << 32) | pi.back();
    if (allZero && low < bound)
        return false;
    if (allOnes && low > UINT64_MAX - bound)
        return false;
    return true;
}

std::string hexWords(const Fixed &pi, std::size_t first, std::size_t count)
{
    std::string text;
    char buf[9];
    for (std::size_t i = first; i < first + count; ++i) {
        std::snprintf(buf, sizeof buf, "%08X", static_cast<unsigned>(pi[i]));
        text += buf;
    }
    return text;
}

// Splits the text into adjacent string literals; `end` follows the last one.
void writeLiteral(std::ostream &out, const std::string &hex, const char *end)
{
    constexpr std::size_t kDigitsPerLine = 64;
    for (std::size_t pos = 0; pos < hex.size(); pos += kDigitsPerLine) {
        const bool last = pos + kDigitsPerLine >= hex.size();
        out << "    \"" << hex.substr(pos, kDigitsPerLine) << '"' << (last ? end : "") << '\n';
    }
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::cerr << "usage: " << (argc > 0 ? argv[0] : "quellnet_pidigits")
                  << " <output header>\n";
        return 2;
    }

    const std::size_t words = 1 + kTableWords + kGuardWords;
    std::uint64_t termsA = 0;
    std::uint64_t termsB = 0;
    Fixed pi = arctanInverse(5, words, &termsA);
    Fixed b = arctanInverse(239, words, &termsB);
    multiply(pi, 16);
    multiply(b, 4);
    subtract(pi, b);

    // Each term loses under two units to truncation, the omitted tail under one more.
    const std::uint64_t errorBound = 16 * (2 * termsA + 1) + 4 * (2 * termsB + 1);
    if (pi[0] != 3 || !guardHoldsError(pi, errorBound)) {
        std::cerr << "pidigits: computed digits are not reliable\n";
        return 1;
    }

    const std::string path = argv[1];
    const std::string tmpPath = path + ".tmp";
    {
        std::ofstream out(tmpPath, std::ios::out | std::ios::trunc);
        if (!out) {
            std::cerr << "pidigits: cannot write " << tmpPath << "\n";
            return 1;
        }
        out << "// Generated by quellnet_pidigits: fractional hexadecimal digits of pi.\n"
               "// Do not edit.\n"
               "#pragma once\n\n";
        out << "static const char kBlowfishPArrayHex[] =\n";
        writeLiteral(out, hexWords(pi, 1, kPArrayWords), ";");
        out << '\n';
        out << "static const char kBlowfishSBoxHex[" << kSBoxCount << "][" << kSBoxWords * 8 + 1
            << "] = {\n";
        for (std::size_t s = 0; s < kSBoxCount; ++s) {
            writeLiteral(out, hexWords(pi, 1 + kPArrayWords + s * kSBoxWords, kSBoxWords), ",");
        }
        out << "};\n";
        out.flush();
        if (!out) {
            std::cerr << "pidigits: error writing " << tmpPath << "\n";
            std::remove(tmpPath.c_str());
            return 1;
        }
    }
    // Replace the header in one step so an interrupted build never leaves half a table.
    if (std::rename(tmpPath.c_str(), path.c_str()) != 0) {
        std::cerr << "pidigits: cannot rename " << tmpPath << " to " << path << "\n";
        std::remove(tmpPath.c_str());
        return 1;
    }
    return 0;
}
