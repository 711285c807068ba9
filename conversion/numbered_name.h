#pragma once

#include <functional>
#include <memory>
#include <string>

#include "path_lock.h"

// Takes the first of the names `nameOf(1)`, `nameOf(2)`, ... whose lock of
// kind `lockKind` no running program holds and that `clear` frees of what a
// run that ended mid-file left under it (true when it could): the name goes
// to `name`, its lock to `lock`. False when none is free. Only names in use
// are held, so a run finds a free one among the first few.
bool TakeNumberedName(const char* lockKind, const std::function<std::string(int)>& nameOf,
                      const std::function<bool(const std::string&)>& clear, std::string& name,
                      std::unique_ptr<PathLock>& lock);
