// resgen: the build's resource tool. Plain C++ with no dependency on the project, so that a cross build can
// build it for the host.
//
//   resgen embed <out.cpp> <out.h> <table> { <name> <RCDATA|BITMAP> <file> }...
//     Writes out.h declaring, in the global namespace,
//       extern const platform::EmbeddedResource <table>[]; extern const std::size_t <table>Count;
//     and out.cpp defining them with each file's bytes as they stand.
//   resgen utf16 <in-utf8> <out>
//     Converts UTF-8 text (an optional UTF-8 byte-order mark is dropped) into UTF-16LE with byte-order mark,
//     every line end becoming CR LF.
//   resgen picture <in> <out.bmp>
//     Renders a picture described in the picture language (picture.h) into an 8-bit bitmap file.
//   resgen icon <in> <out.ico> <size>...
//     Renders a square picture at each size (pixels, 1 to 256) into one icon file, transparent where the
//     picture paints nothing.
//   resgen printjob <size> <out>
//     Writes a nozzle-check print job of exactly <size> bytes (print_job.h).
//
// Exit code 0 on success; 1 with a message on standard error otherwise, leaving no partial output behind.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "picture.h"
#include "print_job.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

struct Failure {
    std::string message;
};

Bytes ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw Failure{"cannot open " + path};
    }
    Bytes bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        throw Failure{"cannot read " + path};
    }
    return bytes;
}

void WriteFile(const std::string& path, const std::string& content) {
    const std::filesystem::path p(path);
    std::error_code ec;
    if (p.has_parent_path()) {
        std::filesystem::create_directories(p.parent_path(), ec);
    }
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        if (out) {
            out.write(content.data(), static_cast<std::streamsize>(content.size()));
            out.close();
            if (out) {
                return;
            }
        }
    }
    std::filesystem::remove(p, ec);
    throw Failure{"cannot write " + path};
}

// One code point from UTF-8 at bytes[i]; advances i. Nothing for a malformed, overlong or surrogate sequence.
std::optional<char32_t> DecodeUtf8(const Bytes& bytes, std::size_t& i) {
    const std::uint8_t lead = bytes[i];
    int extra = 0;
    char32_t cp = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
        ++i;
        return lead;
    } else if ((lead & 0xE0) == 0xC0) {
        extra = 1;
        cp = lead & 0x1F;
        minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2;
        cp = lead & 0x0F;
        minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3;
        cp = lead & 0x07;
        minimum = 0x10000;
    } else {
        return std::nullopt;
    }
    if (bytes.size() - i <= static_cast<std::size_t>(extra)) {
        return std::nullopt;
    }
    for (int k = 1; k <= extra; ++k) {
        const std::uint8_t b = bytes[i + k];
        if ((b & 0xC0) != 0x80) {
            return std::nullopt;
        }
        cp = (cp << 6) | (b & 0x3F);
    }
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        return std::nullopt;
    }
    i += extra + 1;
    return cp;
}

void AppendUnit(std::string& out, std::uint16_t unit) {
    out.push_back(static_cast<char>(unit & 0xFF));
    out.push_back(static_cast<char>(unit >> 8));
}

std::string Utf8ToUtf16LeCrLf(const Bytes& in, const std::string& sourceName) {
    std::string out;
    out.reserve(in.size() * 2 + 2);
    AppendUnit(out, 0xFEFF);
    std::size_t i = 0;
    if (in.size() >= 3 && in[0] == 0xEF && in[1] == 0xBB && in[2] == 0xBF) {
        i = 3;
    }
    std::size_t line = 1;
    while (i < in.size()) {
        if (in[i] == '\r' && i + 1 < in.size() && in[i + 1] == '\n') {
            ++i;  // an existing CR LF stays one line end
            continue;
        }
        const std::optional<char32_t> cp = DecodeUtf8(in, i);
        if (!cp) {
            throw Failure{sourceName + ":" + std::to_string(line) + ": not valid UTF-8"};
        }
        if (*cp == U'\n') {
            AppendUnit(out, u'\r');
            ++line;
        }
        if (*cp >= 0x10000) {
            const char32_t v = *cp - 0x10000;
            AppendUnit(out, static_cast<std::uint16_t>(0xD800 + (v >> 10)));
            AppendUnit(out, static_cast<std::uint16_t>(0xDC00 + (v & 0x3FF)));
        } else {
            AppendUnit(out, static_cast<std::uint16_t>(*cp));
        }
    }
    return out;
}

bool IsIdentifier(const std::string& s) {
    if (s.empty() || (s[0] >= '0' && s[0] <= '9')) {
        return false;
    }
    for (const char c : s) {
        const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
        if (!ok) {
            return false;
        }
    }
    return true;
}

// A resource name as a wide string literal. Non-ASCII characters become universal character names; control
// characters are refused (no resource name needs one).
std::string WideLiteral(const std::string& utf8Name) {
    const Bytes bytes(utf8Name.begin(), utf8Name.end());
    std::string out = "L\"";
    std::size_t i = 0;
    while (i < bytes.size()) {
        const std::optional<char32_t> cp = DecodeUtf8(bytes, i);
        if (!cp || *cp < 0x20 || *cp == 0x7F) {
            throw Failure{"resource name \"" + utf8Name + "\" is not printable UTF-8"};
        }
        if (*cp == U'"' || *cp == U'\\') {
            out.push_back('\\');
            out.push_back(static_cast<char>(*cp));
        } else if (*cp < 0x80) {
            out.push_back(static_cast<char>(*cp));
        } else {
            char buffer[16];
            std::snprintf(buffer, sizeof buffer, "\\U%08X", static_cast<unsigned>(*cp));
            out += buffer;
        }
    }
    return out + "\"";
}

struct Resource {
    std::string name;
    std::string type;  // the C++ enumerator
    std::string file;
};

void AppendHexArray(std::string& out, const Bytes& bytes) {
    static const char kDigits[] = "0123456789abcdef";
    constexpr std::size_t kPerLine = 24;
    if (bytes.empty()) {
        out += "    0\n";  // an array needs one element; the table gives the size as 0
        return;
    }
    out.reserve(out.size() + bytes.size() * 5 + bytes.size() / kPerLine * 5);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i % kPerLine == 0) {
            out += "   ";
        }
        out += " 0x";
        out.push_back(kDigits[bytes[i] >> 4]);
        out.push_back(kDigits[bytes[i] & 0x0F]);
        out.push_back(',');
        if (i % kPerLine == kPerLine - 1 || i + 1 == bytes.size()) {
            out.push_back('\n');
        }
    }
}

int Embed(const std::vector<std::string>& args) {
    // args: out.cpp out.h table (name type file)...
    if (args.size() < 3 || (args.size() - 3) % 3 != 0) {
        throw Failure{"usage: resgen embed <out.cpp> <out.h> <table> { <name> <RCDATA|BITMAP> <file> }..."};
    }
    const std::string& outCpp = args[0];
    const std::string& outH = args[1];
    const std::string& table = args[2];
    if (!IsIdentifier(table)) {
        throw Failure{"table name \"" + table + "\" is not a C++ identifier"};
    }
    std::vector<Resource> resources;
    for (std::size_t i = 3; i < args.size(); i += 3) {
        Resource r{args[i], "", args[i + 2]};
        if (args[i + 1] == "RCDATA") {
            r.type = "platform::ResourceType::RCData";
        } else if (args[i + 1] == "BITMAP") {
            r.type = "platform::ResourceType::Bitmap";
        } else {
            throw Failure{"resource " + r.name + ": type must be RCDATA or BITMAP, not " + args[i + 1]};
        }
        resources.push_back(std::move(r));
    }

    const std::string header = std::filesystem::path(outH).filename().string();
    std::string h;
    h += "// Generated by resgen; do not edit.\n#pragma once\n\n#include <cstddef>\n\n#include "
         "\"platform/resources.h\"\n\n";
    h += "extern const platform::EmbeddedResource " + table + "[];\n";
    h += "extern const std::size_t " + table + "Count;\n";

    std::string cpp;
    cpp += "// Generated by resgen; do not edit.\n#include \"" + header + "\"\n\n#include <cstdint>\n\nnamespace {\n\n";
    for (std::size_t i = 0; i < resources.size(); ++i) {
        const Bytes bytes = ReadFile(resources[i].file);
        cpp += "// " + resources[i].name + ": " + resources[i].file + "\n";
        cpp += "const std::uint8_t kData" + std::to_string(i) + "[] = {\n";
        AppendHexArray(cpp, bytes);
        cpp += "};\nconstexpr std::size_t kSize" + std::to_string(i) + " = " + std::to_string(bytes.size()) + ";\n\n";
    }
    cpp += "}  // namespace\n\n";
    if (resources.empty()) {
        // A zero-length array is not C++; keep one unused entry and report none.
        cpp += "extern const platform::EmbeddedResource " + table + "[] = {{L\"\", platform::ResourceType::RCData, " +
               "nullptr, 0}};\nextern const std::size_t " + table + "Count = 0;\n";
    } else {
        cpp += "extern const platform::EmbeddedResource " + table + "[] = {\n";
        for (std::size_t i = 0; i < resources.size(); ++i) {
            const std::string n = std::to_string(i);
            cpp += "    {" + WideLiteral(resources[i].name) + ", " + resources[i].type + ", kData" + n + ", kSize" + n +
                   "},\n";
        }
        cpp += "};\nextern const std::size_t " + table + "Count = " + std::to_string(resources.size()) + ";\n";
    }

    WriteFile(outH, h);
    WriteFile(outCpp, cpp);
    return 0;
}

int Utf16(const std::vector<std::string>& args) {
    if (args.size() != 2) {
        throw Failure{"usage: resgen utf16 <in-utf8> <out>"};
    }
    WriteFile(args[1], Utf8ToUtf16LeCrLf(ReadFile(args[0]), args[0]));
    return 0;
}

int Picture(const std::vector<std::string>& args) {
    if (args.size() != 2) {
        throw Failure{"usage: resgen picture <in> <out.bmp>"};
    }
    const std::vector<std::uint8_t> bytes = picture::RenderFile(args[0]);
    WriteFile(args[1], std::string(bytes.begin(), bytes.end()));
    return 0;
}

int Icon(const std::vector<std::string>& args) {
    if (args.size() < 3) {
        throw Failure{"usage: resgen icon <in> <out.ico> <size>..."};
    }
    std::vector<int> sides;
    for (std::size_t i = 2; i < args.size(); ++i) {
        const std::string& text = args[i];
        if (text.empty() || text.size() > 4 || text.find_first_not_of("0123456789") != std::string::npos) {
            throw Failure{"icon: the size \"" + text + "\" is not a number"};
        }
        sides.push_back(std::stoi(text));
    }
    const std::vector<std::uint8_t> bytes = picture::RenderIconFile(args[0], sides);
    WriteFile(args[1], std::string(bytes.begin(), bytes.end()));
    return 0;
}

int PrintJob(const std::vector<std::string>& args) {
    if (args.size() != 2) {
        throw Failure{"usage: resgen printjob <size in bytes> <out>"};
    }
    const std::string& text = args[0];
    if (text.empty() || text.size() > 12 || text.find_first_not_of("0123456789") != std::string::npos) {
        throw Failure{"printjob: the size \"" + text + "\" is not a number"};
    }
    const unsigned long long size = std::stoull(text);
    const std::vector<std::uint8_t> bytes = printjob::NozzleCheckJob(static_cast<std::size_t>(size));
    WriteFile(args[1], std::string(bytes.begin(), bytes.end()));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        if (argc < 2) {
            throw Failure{
                "usage: resgen embed ... | resgen utf16 ... | resgen picture ... | resgen icon ... | "
                "resgen printjob ..."};
        }
        const std::string mode = argv[1];
        const std::vector<std::string> args(argv + 2, argv + argc);
        if (mode == "embed") {
            return Embed(args);
        }
        if (mode == "utf16") {
            return Utf16(args);
        }
        if (mode == "picture") {
            return Picture(args);
        }
        if (mode == "icon") {
            return Icon(args);
        }
        if (mode == "printjob") {
            return PrintJob(args);
        }
        throw Failure{"unknown mode " + mode};
    } catch (const Failure& f) {
        std::cerr << "resgen: " << f.message << "\n";
    } catch (const picture::Error& e) {
        std::cerr << "resgen: " << e.message << "\n";
    } catch (const std::exception& e) {
        std::cerr << "resgen: " << e.what() << "\n";
    }
    return 1;
}
