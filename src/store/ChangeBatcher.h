#pragma once

#include <functional>

// Gathers the changes of one action, however deeply actions nest, into one announcement when the
// outermost action ends, so that the views re-render once per action. A change outside any
// action is announced at once.
class ChangeBatcher {
public:
    explicit ChangeBatcher(std::function<void()> announce) : announce_(std::move(announce)) { }

    void changed()
    {
        pending_ = true;
        if (depth_ == 0)
            flush();
    }

    // Open for the length of one action.
    class Batch {
    public:
        explicit Batch(ChangeBatcher& batcher) : batcher_(batcher) { ++batcher_.depth_; }
        ~Batch()
        {
            if (--batcher_.depth_ == 0)
                batcher_.flush();
        }
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

    private:
        ChangeBatcher& batcher_;
    };

private:
    void flush()
    {
        if (!pending_)
            return;
        pending_ = false;
        announce_();
    }

    std::function<void()> announce_;
    int depth_ = 0;
    bool pending_ = false;
};
