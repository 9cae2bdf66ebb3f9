// The module as the host sees it: a library loaded at run time (vokari.dll
// through LoadLibraryA, libvokari.so through dlopen) and its three exports,
// fed with the host's kind of memory blocks (GlobalAlloc(GMEM_FIXED) on
// Windows, malloc on Linux) that the module frees.
#pragma once

#include <string>

namespace host_check {

struct Response {
    bool has_block = false;  // request returned a block
    long length = 0;         // *len after the call
    std::string bytes;       // the block's `length` bytes
};

class HostModule {
public:
    HostModule() = default;
    ~HostModule();
    HostModule(const HostModule&) = delete;
    HostModule& operator=(const HostModule&) = delete;

    // Loads the library and finds its exports; false (with error()) if not.
    bool open(const std::string& library_path);
    void close();
    const std::string& error() const { return error_; }

    // load with a block holding `bytes` and `length` as its length.
    int load(const std::string& bytes, long length);
    int load(const std::string& directory) { return load(directory, static_cast<long>(directory.size())); }
    // request with a block holding `bytes`; *len = `length`.  The response
    // block is copied and freed as the host does.
    Response request(const std::string& bytes, long length);
    Response request(const std::string& bytes) { return request(bytes, static_cast<long>(bytes.size())); }
    int unload();

private:
    typedef int (*LoadFunction)(void*, long);
    typedef void* (*RequestFunction)(void*, long*);
    typedef int (*UnloadFunction)();

    void* library_ = nullptr;
    LoadFunction load_ = nullptr;
    RequestFunction request_ = nullptr;
    UnloadFunction unload_ = nullptr;
    std::string error_;
};

// The path of `argument` as this program's file functions want it: under
// wine a Linux path ("/work/x") is reached through drive Z:.
std::string path_from_argument(const std::string& argument);

}  // namespace host_check
