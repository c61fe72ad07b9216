// A C stream owned by a unique_ptr: closed when the owner goes, on every path out of a reader.
#pragma once

#include <cstdio>
#include <memory>

namespace lcu {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

using CFile = std::unique_ptr<std::FILE, FileCloser>;

}  // namespace lcu
