# Tolvaro: the two everyday commands.
#   make run    install what is missing, build, start the program
#   make test   install what is missing, build everything, run every test

BUILD_DIR  := build
BUILD_TYPE := RelWithDebInfo
JOBS       := $(shell nproc)

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

.PHONY: run test deps

deps:
	bash scripts/install-deps.sh

run: deps
	$(call configure_and_build,$(BUILD_DIR),$(BUILD_TYPE),,tolvaro)
	./$(BUILD_DIR)/tolvaro

test: deps
	$(call configure_and_build,$(BUILD_DIR),$(BUILD_TYPE),,)
	$(call run_tests,$(BUILD_DIR))
