// The subscription request: one HTTP GET that hands the user's e-mail address to the
// newsletter's endpoint.
#pragma once
#include "framework/failure.h"
#include "framework/text.h"

// Sends `email` with the interface language, the product version and today's date in
// UTC, and sets *acknowledged to whether the reply's body holds "OK" (its status is not
// looked at). Nothing is sent, and *acknowledged is false, when the internet is not
// reachable or the request fails. A session that cannot be opened is raised with the
// internet layer's text and *acknowledged stays false. Makes one attempt, shows no
// message and keeps nothing; the wait cursor is on while the request runs.
CFailure SendSubscription(CText email, bool* acknowledged);
