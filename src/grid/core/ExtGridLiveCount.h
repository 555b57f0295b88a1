#pragma once
// Every settings object the string grid owns counts itself, so that a test sees each freed
// exactly once.

int ExtGridLiveObjects();
struct TExtGridLiveCount {
    TExtGridLiveCount();
    TExtGridLiveCount(const TExtGridLiveCount &);
    ~TExtGridLiveCount();
};
