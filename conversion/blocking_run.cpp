// A run without a window: what "Convert Files" does, for callers that have
// no message loop.
#include "conversion_run.h"

void RunConversionQueue(const ConversionSettings& settings, FileQueue& queue, RunEvents* events) {
    const std::unique_ptr<PipelineRunner> runner = MakeBatchFileRunner(nullptr);
    ConversionRun run(settings, queue, *runner, events);
    run.StartFiles();
    while (!run.Over()) {
        runner->WaitForEnd();
        run.Collect();
    }
}
