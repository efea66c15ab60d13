// Scripted input: when it arrives, and who receives it.
#include <gtest/gtest.h>

#include "platform/headless/headless_platform.h"
#include "recorders.h"

namespace ss {
namespace {

using headless_test::Events;
using headless_test::RecordingControl;
using headless_test::RecordingForm;
using Strings = std::vector<std::string>;

// A shown window at (100, 50), 200 x 100, with a control over its left half.
struct InputRig {
  explicit InputRig(std::vector<InputEvent> script, HeadlessConfig config = {})
      : platform(with_script(std::move(config), std::move(script))) {
    window->set_events(&form);
    window->attach(&control);
    window->set_bounds({100, 50, 300, 150});
    window->show();
    events.list.clear();
    events.timed.clear();
  }
  static HeadlessConfig with_script(HeadlessConfig config, std::vector<InputEvent> script) {
    config.input = std::move(script);
    return config;
  }
  void watch_hook() {
    platform.desktop().install_input_hook([this](HookedInput input, Point cursor) {
      static constexpr const char* kNames[] = {"key", "move", "button"};
      events.add(std::string("hook.") + kNames[static_cast<int>(input)] + " " +
                 format_point(cursor));
    });
  }
  HeadlessPlatform platform;
  Events events{platform};
  RecordingForm form{events};
  RecordingControl control{events, {0, 0, 100, 100}, kBlack};
  std::unique_ptr<ShowWindow> window = platform.create_window();
};

TEST(ScriptedInput, EachEventReachesItsReceiverAtItsTime) {
  InputRig rig({
      key_down(100, 27),
      mouse_move(200, 150, 60),              // over the control
      mouse_move_client(300, 10, 20),        // still over it, given in client coordinates
      mouse_move(400, 250, 60),              // over the form only
      mouse_down(500, MouseButton::kRight),  // not over the control: nobody
      mouse_move(600, 120, 55),
      mouse_down(700),
      mouse_up(710),
      mouse_move(800, 5, 5),  // off the window
      user_message(900, 0x0401),
      activate_window(1000),
  });
  rig.platform.run_for(2000);
  EXPECT_EQ(rig.events.timed,
            (Strings{"100 key 27", "200 enter", "200 control.move 50,10", "300 control.move 10,20",
                     "400 leave", "400 form.move 150,10", "600 enter", "600 control.move 20,5",
                     "700 control.down 20,5", "710 control.up 20,5", "800 leave",
                     "900 message 1025", "1000 activate"}));
  EXPECT_EQ(rig.platform.headless_desktop().cursor_pos(), (Point{5, 5}));
  EXPECT_TRUE(rig.platform.log().has_subsequence(
      {"input.key 27", "input.move 150,60", "input.move 110,70", "input.down right",
       "input.down left", "input.up left", "input.message 0x0401", "input.activate"}));
}

TEST(ScriptedInput, TheHookSeesEveryEventFirstWithTheCursor) {
  InputRig rig({mouse_move(10, 150, 60), key_down(20, 13), mouse_down(30)});
  rig.watch_hook();
  rig.platform.run_for(100);
  EXPECT_EQ(rig.events.list,
            (Strings{"hook.move 150,60", "enter", "control.move 50,10", "hook.key 150,60", "key 13",
                     "hook.button 150,60", "control.down 50,10"}));
  rig.platform.desktop().remove_input_hook();
  rig.platform.schedule(key_down(200, 1));
  rig.platform.run_for(200);
  EXPECT_EQ(rig.events.list.back(), "key 1");
}

TEST(ScriptedInput, AVisibleMovieControlTakesTheKeyboardAndTheMouseOverItButNotTheHook) {
  InputRig rig({mouse_move(10, 150, 60), key_down(20, 13), mouse_down(30), mouse_move(40, 290, 60),
                mouse_move(50, 295, 60)});
  rig.watch_hook();
  std::unique_ptr<FlashControl> movie = rig.platform.flash().create(*rig.window);
  movie->set_bounds({0, 0, 150, 100});  // covers the control and part of the form
  movie->set_visible(true);
  rig.platform.run_for(45);
  movie->set_visible(false);
  rig.platform.run_for(100);
  EXPECT_EQ(rig.events.list, (Strings{"hook.move 150,60", "hook.key 150,60", "hook.button 150,60",
                                      "hook.move 290,60", "form.move 190,10", "hook.move 295,60",
                                      "form.move 195,10"}));
}

TEST(ScriptedInput, ArrivesInsideANestedPumpAtItsTime) {
  InputRig rig({key_down(300, 65)});
  rig.form.on_message = [&](uint32_t) {
    // A transition running inside a handler pumps the loop like this.
    rig.platform.app().headless_loop().run_until([] { return false; }, 1000);
    rig.events.add("handler done");
  };
  rig.window->post_user_message(0x0401);
  rig.platform.run_for(2000);
  EXPECT_EQ(rig.events.timed, (Strings{"0 message 1025", "300 key 65", "1000 handler done"}));
}

TEST(ScriptedInput, AClosedWindowGetsNothingAndAnExhaustedScriptCanEndTheRun) {
  HeadlessConfig config;
  config.end_after_input_ms = 500;
  InputRig rig({key_down(100, 1), close_window(200), key_down(300, 2), mouse_move(400, 150, 60)},
               config);
  rig.platform.run_for(60'000);
  EXPECT_EQ(rig.platform.now_ms(), 200u) << "closing the main window ended the run";
  EXPECT_TRUE(rig.platform.application().terminated());
  rig.platform.app().headless_loop().run_until([] { return false; }, 1000);
  EXPECT_TRUE(rig.platform.script().exhausted());
  EXPECT_EQ(rig.events.timed, (Strings{"100 key 1", "200 close"}));

  HeadlessConfig open_ended;
  open_ended.end_after_input_ms = 500;
  InputRig rig2({key_down(100, 1), key_down(300, 2)}, open_ended);
  rig2.platform.application().run();
  EXPECT_EQ(rig2.platform.now_ms(), 800u);
  EXPECT_FALSE(rig2.platform.application().terminated());
}

TEST(ScriptedInput, MovieCommandsReachTheLatestMovieControl) {
  InputRig rig({flash_command(100, "quit", "now")});
  std::unique_ptr<FlashControl> movie = rig.platform.flash().create(*rig.window);
  movie->set_fs_command_handler([&](const std::string& command, const std::string& args) {
    rig.events.add(command + "(" + args + ")");
  });
  rig.platform.run_for(200);
  EXPECT_EQ(rig.events.timed, (Strings{"100 quit(now)"}));
}

}  // namespace
}  // namespace ss
