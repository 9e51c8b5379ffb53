# make run   – install dependencies, build, install into $(PREFIX) and start
# make test  – install dependencies, build and run every test, then build and check the package
# make deb   – the Debian package $(DEB) in its own build folder
# make bench – timings with full log files; fails when a figure misses its budget
# make fuzz  – builds the fuzz targets with clang and runs each FUZZ_TIME seconds
# make test-asan – every test in a build with AddressSanitizer and UBSan
# make format / format-check – clang-format the sources / fail on a difference
PREFIX ?= $(HOME)/Kescherheft
BUILD  ?= build
JOBS   ?= 2
FUZZ_BUILD ?= build-fuzz
FUZZ_TIME  ?= 30
FUZZ_TARGETS = fuzz_records fuzz_filter fuzz_numbers fuzz_settings fuzz_cp1252
ASAN_BUILD ?= build-asan
DEB_BUILD ?= build-deb
DEB = $(DEB_BUILD)/kescherheft_1.0.0.2_$(shell dpkg --print-architecture).deb
# The package build compiles the same sources with the same flags in another
# folder: with paths taken relative to the repository and the folder left
# out of the hash, ccache hands it the objects of the test build.
export CCACHE_BASEDIR ?= $(CURDIR)
export CCACHE_NOHASHDIR ?= 1
# Extra CMake options for the build folder, e.g. -DKESCHERHEFT_WERROR=ON in CI.
CMAKE_ARGS ?=
FORMAT_FILES = git ls-files '*.cpp' '*.h' | grep -v '^tests/data/'
SANITIZER_OPTIONS = ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1 \
	UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

.PHONY: deps build install run test deb bench fuzz test-asan clean format format-check

deps:
	./scripts/install-deps

# Configured once; again whenever extra options are given.
build: deps
	if [ ! -f $(BUILD)/build.ninja ] || [ -n "$(CMAKE_ARGS)" ]; then \
		cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_ARGS); fi
	cmake --build $(BUILD) -j$(JOBS)

install: build
	cmake --install $(BUILD) --prefix "$(PREFIX)"

run: install
	cd "$(PREFIX)" && ./kescherheft

test: build
	cd $(BUILD) && ctest --output-on-failure -j$(JOBS)
	$(MAKE) deb
	./tests/package/check-deb $(DEB)

# The program alone, without the updater (the package manager brings
# updates), installed below /usr.
deb:
	./scripts/install-deps --deb
	cmake -S . -B $(DEB_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DKESCHERHEFT_PACKAGE=ON -DKESCHERHEFT_UPDATER=OFF $(CMAKE_ARGS)
	cmake --build $(DEB_BUILD) -j$(JOBS) --target kescherheft
	cd $(DEB_BUILD) && cpack -G DEB

bench:
	./scripts/install-deps --bench
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKESCHERHEFT_BENCH=ON
	cmake --build $(BUILD) -j$(JOBS) --target kescherheft_bench kescherheft_bench_app \
		kescherheft_bench_start kescherheft_bench_backup kescherheft_bench_export \
		kescherheft_bench_import
	# Every benchmark runs; the target fails when any of them did.
	cd $(BUILD) && status=0; \
	for b in kescherheft_bench kescherheft_bench_app kescherheft_bench_backup \
		kescherheft_bench_export kescherheft_bench_import; do ./bench/$$b || status=1; \
	done; exit $$status

# New inputs a run finds go to $(FUZZ_BUILD)/corpus, crashes to
# $(FUZZ_BUILD)/artifacts; the seeds in fuzz/corpus stay as they are.
fuzz:
	./scripts/install-deps --fuzz
	cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DCMAKE_CXX_COMPILER=clang++-14 -DKESCHERHEFT_FUZZ=ON
	cmake --build $(FUZZ_BUILD) -j$(JOBS) --target $(FUZZ_TARGETS)
	mkdir -p $(FUZZ_BUILD)/artifacts
	for t in $(FUZZ_TARGETS); do \
		mkdir -p $(FUZZ_BUILD)/corpus/$$t && \
		$(SANITIZER_OPTIONS) $(FUZZ_BUILD)/fuzz/$$t -max_total_time=$(FUZZ_TIME) -timeout=10 \
			-artifact_prefix=$(FUZZ_BUILD)/artifacts/$$t- $(FUZZ_BUILD)/corpus/$$t fuzz/corpus/$$t \
			|| exit 1; \
	done

test-asan:
	./scripts/install-deps
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKESCHERHEFT_SANITIZE=ON
	cmake --build $(ASAN_BUILD) -j$(JOBS)
	cd $(ASAN_BUILD) && $(SANITIZER_OPTIONS) ctest --output-on-failure -j$(JOBS)

format:
	./scripts/install-deps --format
	$(FORMAT_FILES) | xargs clang-format -i

format-check:
	./scripts/install-deps --format
	$(FORMAT_FILES) | xargs clang-format --dry-run --Werror

clean:
	rm -rf $(BUILD) $(FUZZ_BUILD) $(ASAN_BUILD) $(DEB_BUILD)
