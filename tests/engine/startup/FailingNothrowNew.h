#pragma once
// While a FailingNothrowNew lives, every creation through new (std::nothrow) in this program
// fails as it would when memory runs out; the throwing form still allocates.
class FailingNothrowNew {
public:
    FailingNothrowNew();
    ~FailingNothrowNew();
    FailingNothrowNew(const FailingNothrowNew&) = delete;
    FailingNothrowNew& operator=(const FailingNothrowNew&) = delete;
};
