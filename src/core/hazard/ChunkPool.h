#pragma once
// Runs the chunks of one numerical loop on the calling thread and on helper
// threads (one fewer than the processor's cores). Each chunk writes its own
// result slot, so the caller combines the slots in chunk order and the result
// does not depend on the number of threads or on which thread ran a chunk.
// The stop test (the progress window's cancel flag) is asked only on the
// calling thread, between its chunks.

#include <cstddef>
#include <functional>

namespace zorv {

class ChunkPool {
public:
    // The pool shared by all estimators of the process.
    static ChunkPool& shared();

    // Runs work(0) … work(count − 1). Returns false when `stop` answered true;
    // chunks not started by then are skipped (the helpers finish the chunk
    // they are in before run returns). With no helpers, or while another
    // thread is using the pool, everything runs on the calling thread.
    bool run(std::size_t count, const std::function<void(std::size_t)>& work,
             const std::function<bool()>& stop);

    std::size_t helperCount() const;

    ChunkPool(const ChunkPool&) = delete;
    ChunkPool& operator=(const ChunkPool&) = delete;
    ~ChunkPool();

private:
    ChunkPool();
    struct State;
    State* state_;
};

}  // namespace zorv
