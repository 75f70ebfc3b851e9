#pragma once
// Independent writes on a few threads at once, as the listing's GETs run: their order does not
// matter and their results are kept by index.

#include "contacts/Outcome.h"

#include <cstddef>
#include <functional>
#include <mutex>
#include <optional>
#include <vector>

// Runs job(i) for every i < count, at most width at a time, and returns once all that started have
// ended. job returning false starts no more. job must not throw.
void runAtOnce(std::size_t count, std::size_t width, const std::function<bool(std::size_t)>& job);

// make(i) for every i < count, width at a time, one result each in index order. A result whose
// outcome is a refused login or secure connection starts no more: every further request would be
// refused alike, and the indexes not started get a copy of that result.
template <typename Result>
std::vector<Result> resultsUntilRefused(std::size_t count, std::size_t width,
                                        const std::function<Result(std::size_t)>& make) {
    std::vector<std::optional<Result>> made(count);
    std::mutex mutex;
    std::optional<Result> refusal;
    runAtOnce(count, width, [&](std::size_t i) {
        Result result = make(i);
        const std::lock_guard lock(mutex);
        const bool refused = isRefusal(result.outcome);
        if (refused) {
            refusal = result;
        }
        made[i] = std::move(result);
        return !refused;
    });
    std::vector<Result> results;
    results.reserve(count);
    for (std::optional<Result>& result : made) {
        results.push_back(result ? std::move(*result) : *refusal);
    }
    return results;
}
