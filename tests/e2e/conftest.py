import sys
from pathlib import Path

import pytest

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "support"))

import harness  # noqa: E402


@pytest.fixture
def driver():
    d = harness.start_driver()
    yield d
    d.close_driver()


@pytest.fixture
def launch():
    """Starts setup.exe (in a given language); every run is ended after the test."""
    runs = []

    def start(lang="en_US.UTF-8"):
        run = harness.SetupRun(lang)
        runs.append(run)
        return run

    yield start
    for run in runs:
        run.kill()


@pytest.fixture
def subscribed():
    """The user subscribed to the newsletter earlier, so installs go from the player question
    straight to the outcome; the newsletter's part of the road has tests of its own."""
    harness.settings_file().write_text("[Setup]\r\nMailingList=1\r\n")
    yield
    harness.settings_file().unlink(missing_ok=True)
