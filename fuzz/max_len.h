// libFuzzer reads its flags after LLVMFuzzerInitialize, which may add to them. Left to itself it
// makes inputs of at most 4096 bytes, too short for the long lines and long files that the readers
// must bound; each fuzzer raises that default here (a -max_len given on the command line wins).
#pragma once

#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

namespace vardel::fuzz {

inline void DefaultMaxLen(int* argc, char*** argv, std::size_t bytes) {
    for (int i = 1; i < *argc; ++i) {
        if (std::strncmp((*argv)[i], "-max_len=", 9) == 0) {
            return;
        }
    }
    static std::string flag;
    static std::vector<char*> args;
    flag = "-max_len=" + std::to_string(bytes);
    args.assign(*argv, *argv + *argc);
    args.push_back(flag.data());
    args.push_back(nullptr);
    *argc = static_cast<int>(args.size()) - 1;
    *argv = args.data();
}

}  // namespace vardel::fuzz
