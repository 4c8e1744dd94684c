#pragma once
// Spreading independent per-channel work over the processor's cores, with
// results identical to a run on one thread: every index is worked on by
// exactly one thread, and whatever must happen in order (writing results
// back, stopping at the first failure, collecting messages) happens in a
// commit step that runs strictly in index order.

#include <functional>

// Threads the processing loops use (at least 1): the machine's cores unless
// set otherwise.
int ProcessingThreads();
// 0 returns to the machine's cores.
void SetProcessingThreads(int count);

// Workers a loop over `count` indexes uses: min(ProcessingThreads(), count),
// at least 1. Callers size their per-worker buffers with it.
int ProcessingWorkers(int count);

// Runs work(index, worker) for every index 0 .. count-1, in any order and on
// up to ProcessingWorkers(count) threads; `worker` (0 .. workers-1) names the
// thread's own buffers. Work on different indexes must not touch the same
// data.
void ParallelFor(int count, const std::function<void(int index, int worker)>& work);

// As ParallelFor, and after its work each index is committed with
// commit(index, worker), one index at a time and in increasing order. Once a
// commit returns false no later index is committed and no new work starts,
// exactly as a loop that stops at its first failure.
void ParallelForOrdered(int count, const std::function<void(int index, int worker)>& work,
                        const std::function<bool(int index, int worker)>& commit);
