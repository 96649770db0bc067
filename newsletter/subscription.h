// The subscription request: one HTTP GET that hands the user's e-mail address to the
// newsletter's endpoint.
#pragma once
#include "framework/failure.h"
#include "framework/text.h"

// Sends `email` with the interface language, the product version and today's date in
// UTC, and sets *acknowledged to whether the reply's body holds "OK" (its status is not
// looked at, and a redirect is not followed). Nothing is sent, and *acknowledged is
// false, when the internet is not reachable or the request fails. A session that cannot
// be opened is raised with the internet layer's text and *acknowledged stays false.
//
// The probe and the request run on a worker thread while this thread waits with the
// wait cursor, its windows repainted but taking no input. The whole exchange ends within
// 15 seconds whatever the network and the server do: past that it counts as failed.
// Only the first 64 KB of the body are read. Makes one attempt, shows no message and
// keeps nothing.
CFailure SendSubscription(CText email, bool* acknowledged);
