// Any registry content, written as a .reg file in either format and read back, gives the same
// keys, names, types and data; the one change allowed is the terminating zero the editor adds
// to text data that lacks one. Content that a format cannot carry must be refused by the writer.
#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "fuzz_input.h"
#include "platform/registry/key_name.h"
#include "zovreg/reg_file_reader.h"
#include "zovreg/reg_file_writer.h"

namespace {

using zov::reg::KeySnapshot;
using zov::reg::RegOperation;
using zov::reg::ValueSnapshot;

// Names drawn from a small alphabet with the characters that need care in a .reg file.
std::string Name(zov::fuzz::FuzzInput& input, bool for_key) {
    static const std::vector<std::string> kPieces = {"a",
                                                     "B",
                                                     " ",
                                                     "\"",
                                                     ";",
                                                     "]",
                                                     "[",
                                                     "=",
                                                     "@",
                                                     "-",
                                                     "\t",
                                                     "\xC3\xA9",
                                                     "\xC3\x89",
                                                     "\xE2\x82\xAC",
                                                     "\xE4\xB8\xAD",
                                                     "\xF0\x9F\x98\x80",
                                                     "\xE9",
                                                     "\\",
                                                     "\x1B",
                                                     "\r"};
    std::string name;
    const std::size_t length = input.Below(6) + (for_key ? 1 : 0);
    for (std::size_t i = 0; i < length; ++i) {
        const std::string& piece = kPieces[input.Below(kPieces.size())];
        if (!(for_key && piece == "\\")) {
            name += piece;
        }
    }
    return name;
}

void Fill(zov::fuzz::FuzzInput& input, KeySnapshot* key, int depth) {
    std::set<std::string> seen;
    const std::size_t values = input.Below(4);
    for (std::size_t i = 0; i < values; ++i) {
        ValueSnapshot value{Name(input, false), static_cast<DWORD>(input.Below(12)), {}};
        value.data = input.Bytes(input.Below(8));
        if (seen.insert(zov::FoldName(value.name)).second) {
            key->values.push_back(std::move(value));
        }
    }
    seen.clear();
    const std::size_t subkeys = depth < 3 ? input.Below(3) : 0;
    for (std::size_t i = 0; i < subkeys; ++i) {
        const std::string name = Name(input, true);
        if (name.empty() || !seen.insert(zov::FoldName(name)).second) {
            continue;
        }
        KeySnapshot child;
        child.path = key->path.empty() ? name : key->path + "\\" + name;
        Fill(input, &child, depth + 1);
        key->subkeys.push_back(std::move(child));
    }
}

bool IsText(DWORD type) {
    return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

// The operations a faithful reading of the snapshot gives, in file order.
void Expect(const KeySnapshot& key, std::vector<RegOperation>* out) {
    RegOperation create;
    create.key_path = key.path;
    out->push_back(create);
    for (const ValueSnapshot& value : key.values) {
        RegOperation set;
        set.kind = RegOperation::Kind::kSetValue;
        set.key_path = key.path;
        set.value_name = value.name;
        set.type = value.type;
        set.data = value.data;
        if (IsText(value.type) && !set.data.empty() && set.data.back() != 0) {
            set.data.push_back(0);
        }
        out->push_back(set);
    }
    for (const KeySnapshot& subkey : key.subkeys) {
        Expect(subkey, out);
    }
}

bool Same(const RegOperation& a, const RegOperation& b) {
    return a.kind == b.kind && a.key_path == b.key_path && a.value_name == b.value_name &&
           a.type == b.type && a.data == b.data;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static zov::reg::CodePage* code_page = [] {
        auto* page = new zov::reg::CodePage();
        std::string error;
        if (!page->Open(zov::reg::kDefaultCodePage, &error)) {
            __builtin_trap();
        }
        return page;
    }();
    zov::fuzz::FuzzInput input(data, size);
    const auto format =
        input.Flag() ? zov::reg::RegFileFormat::kRegedit4 : zov::reg::RegFileFormat::kRegedit5;
    KeySnapshot root;
    root.path = "Fuzz";
    Fill(input, &root, 0);

    std::string bytes;
    std::string error;
    if (!zov::reg::WriteRegFile(root, format, *code_page, &bytes, &error)) {
        return 0;  // a line break in a name, or a name the code page cannot hold
    }
    zov::reg::RegFileContents contents;
    zov::reg::RegFileError read_error;
    if (!zov::reg::ReadRegFile(bytes, &contents, &read_error)) {
        __builtin_trap();  // the writer wrote what the reader refuses
    }
    std::vector<RegOperation> expected;
    Expect(root, &expected);
    if (contents.format != format || contents.operations.size() != expected.size()) {
        __builtin_trap();
    }
    for (std::size_t i = 0; i < expected.size(); ++i) {
        if (!Same(contents.operations[i], expected[i])) {
            __builtin_trap();
        }
    }
    return 0;
}
