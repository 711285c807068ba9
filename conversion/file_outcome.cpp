#include "file_outcome.h"

bool WroteFile(const FileState& before, const FileState& after) {
    if (!after.exists)
        return false;
    return !before.exists || before.size != after.size || before.writeTime != after.writeTime;
}

RunOutputs::Claim RunOutputs::Check(const std::string& outputKey,
                                    const std::string& inputKey) const {
    const auto found = m_inputByOutput.find(outputKey);
    if (found == m_inputByOutput.end())
        return Claim::Free;
    return found->second == inputKey ? Claim::SameInput : Claim::OtherInput;
}

void RunOutputs::Add(const std::string& outputKey, const std::string& inputKey) {
    m_inputByOutput[outputKey] = inputKey;
}
