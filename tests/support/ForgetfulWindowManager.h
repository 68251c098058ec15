#pragma once
// A window manager, on a thread of the test process, that loses the first map request of every
// window and carries out the later ones (giving the window the focus), as openbox does with a request that comes while it is
// starting up. It announces itself as desktop managers do, gives windows no frame and offers
// no full-screen state. It runs on a private Xvfb (XvfbDisplay::EnsurePrivate) until the
// process exits.
class ForgetfulWindowManager {
public:
    // Starts it once per process; false when it cannot become the display's manager.
    static bool Ensure();
    // How many map requests it has lost so far.
    static int LostRequests();
};
