#pragma once

#include "text_kinds.h"

// How the command processor reads "%" in a line of the batch file, which it
// runs with no arguments: "%%" is one "%"; "%NAME%" is the variable's value,
// or nothing when it is not set; "%0" is the batch file's name as run and
// "%~dp0" and its kin are parts of its full path; "%1" to "%9" and "%*" are
// nothing; a "%" that closes no name is dropped. (The ":" forms that cut or
// replace a value are not among them: such a name counts as unset.)
class BatchVariables {
public:
    virtual ~BatchVariables() = default;
    // The value the command processor sees; false for a variable not set.
    virtual bool Lookup(const AnsiText& name, AnsiText& value) const = 0;
};

struct BatchFile {
    AnsiText name;      // as the command processor is asked to run it
    AnsiText fullPath;  // for the "%~" forms
};

AnsiText ExpandAsBatchFileLine(const AnsiText& text, const BatchFile& batch,
                               const BatchVariables& variables);
