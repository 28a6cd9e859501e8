# Tolvaro: the two everyday commands.
#   make run    install what building and running need, build, start the program
#   make test   install that and the test tools, build everything, run every test: the normal build's
#               tests, then the number rules cross-compiled for arm64, armhf and i386 under
#               qemu-user (build-cross/), then the test programs again under the sanitizers
#               (build-asan/), then short fuzz runs of the number texts (build-fuzz/)
# The extra passes on their own: make test-cross, make test-asan, make test-fuzz (presets in
# CMakePresets.json).
#   make dist   the upstream tarball ../tolvaro_<version>.orig.tar.xz of the checked-out commit

BUILD_DIR  := build
BUILD_TYPE := RelWithDebInfo
JOBS       := $(shell nproc)
VERSION    := $(shell grep -oP '^project.tolvaro VERSION \K[0-9.]+' CMakeLists.txt)
DIST_DIR   := ..

# configure_and_build(dir, build type, extra CMake arguments, targets)
# The generator is left to CMake so an existing build directory is reused as it is.
define configure_and_build
	cmake -S . -B $(1) -DCMAKE_BUILD_TYPE=$(2) $(3)
	cmake --build $(1) -j$(JOBS) $(if $(4),--target $(4))
endef

# run_tests(dir): the exit status of make is that of ctest.
define run_tests
	cd $(1) && ctest --output-on-failure
endef

# run_preset(name): configure, build and test one preset of CMakePresets.json.
define run_preset
	cmake --preset $(1)
	cmake --build --preset $(1) -j$(JOBS)
	ctest --preset $(1)
endef

.PHONY: run test test-cross test-asan test-fuzz deps deps-run dist

# deps-run: compiler, CMake, Qt, GMP, MPFR, fonts. deps: those and every test tool.
deps-run:
	bash scripts/install-deps.sh run

deps:
	bash scripts/install-deps.sh test

run: deps-run
	$(call configure_and_build,$(BUILD_DIR),$(BUILD_TYPE),,tolvaro)
	./$(BUILD_DIR)/tolvaro

test: deps
	$(call configure_and_build,$(BUILD_DIR),$(BUILD_TYPE),,)
	$(call run_tests,$(BUILD_DIR))
	bash tests/cross/cross_test.sh
	$(call run_preset,asan)
	$(call run_preset,fuzz)

# The number rules and the fuzz seed corpus, built with Debian's cross compilers and run under
# qemu-user; installs the cross packages itself and says SKIP when it can't (tests/cross/).
test-cross:
	bash tests/cross/cross_test.sh

# The core, print and window test programs built with AddressSanitizer, UndefinedBehavior-
# Sanitizer and LeakSanitizer (suppressions in tests/lsan.supp).
test-asan: deps
	$(call run_preset,asan)

# Bounded libFuzzer runs of the number-text conversions; fuzz/run-long.sh runs them longer.
test-fuzz: deps
	$(call run_preset,fuzz)

# The committed files only, as git archive gives them: build trees and other untracked files
# stay out, and so does debian/ (.gitattributes). One xz thread, so that the same commit always
# gives the same bytes.
dist:
	git -c tar.tar.xz.command='xz -c -6 -T1' archive --format=tar.xz --prefix=tolvaro-$(VERSION)/ \
	  -o $(DIST_DIR)/tolvaro_$(VERSION).orig.tar.xz HEAD
	@echo "$(DIST_DIR)/tolvaro_$(VERSION).orig.tar.xz"
