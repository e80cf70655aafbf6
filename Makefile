# Entry points for people: `make run` and `make test`. CMake does the real work.
BUILD      ?= build
ASAN_BUILD ?= build-asan
TSAN_BUILD ?= build-tsan
BENCH_BUILD?= build-release
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
CMAKE_GEN  := -G Ninja

.PHONY: deps build run test sanitize tsan bench fuzz clean package

deps:
	@scripts/install-deps.sh

$(BUILD)/build.ninja: | deps
	cmake -S . -B $(BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD)

run: build
	@scripts/run-jabbly.sh $(BUILD)/bin/jabbly

test: build
	cd $(BUILD) && ctest --output-on-failure --no-tests=error

# The Debian package, written into $(BUILD)/ as jabbly_<version>_<arch>.deb.
package: build
	cmake --build $(BUILD) --target package

sanitize: deps
	cmake -S . -B $(ASAN_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DJABBLY_SANITIZE=ON
	cmake --build $(ASAN_BUILD)
	cd $(ASAN_BUILD) && ctest --output-on-failure --no-tests=error

# The speech engine's thread test under ThreadSanitizer: only that test and what it needs
# are built.
tsan: deps
	cmake -S . -B $(TSAN_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DJABBLY_TSAN=ON -DJABBLY_BENCH=OFF
	cmake --build $(TSAN_BUILD) --target test_speech_threads
	cd $(TSAN_BUILD) && TSAN_OPTIONS="halt_on_error=1 $${TSAN_OPTIONS:-}" ctest -R EspeakThreads --output-on-failure --no-tests=error

# Runs every benchmark program, then the real-window timing when Xvfb is there; fails when
# any of them fails (crashes, or reports an error).
bench: deps
	cmake -S . -B $(BENCH_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(BENCH_BUILD)
	@failed=""; \
	for b in $(BENCH_BUILD)/bench/bench_*; do \
		echo "== $$b"; \
		"$$b" || failed="$$failed $$b"; \
	done; \
	if command -v xvfb-run >/dev/null 2>&1; then \
		echo "== real window (bench/window/run-window-bench.sh)"; \
		bench/window/run-window-bench.sh $(BENCH_BUILD) || failed="$$failed window_driver"; \
	else \
		echo "== real window: skipped, xvfb-run is missing"; \
	fi; \
	if [ -n "$$failed" ]; then echo "FAILED:$$failed" >&2; exit 1; fi

# libFuzzer runs of every fuzz target, FUZZ_SECONDS each (clang is installed when missing).
fuzz: deps
	@fuzz/run-fuzzers.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(TSAN_BUILD) $(BENCH_BUILD)
