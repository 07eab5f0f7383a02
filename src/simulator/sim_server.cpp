// SPDX-License-Identifier: GPL-3.0-or-later
#include "simulator/sim_server.h"

#include <poll.h>
#include <sys/socket.h>

#include <cerrno>
#include <cstdio>

#include "core/common/byte_view.h"
#include "core/protocol/frame.h"
#include "simulator/request_stream.h"
#include "socket/unix_socket.h"

namespace korvelane::sim {
namespace {

using net::SteadyTime;

constexpr int kSendTimeoutMs = 2000;

std::string HexStart(const std::vector<uint8_t>& message, size_t count) {
  std::string text;
  char part[4];
  for (size_t i = kHeaderSize; i < message.size() && i < kHeaderSize + count; ++i) {
    std::snprintf(part, sizeof part, i == kHeaderSize ? "%02X" : " %02X", message[i]);
    text += part;
  }
  if (message.size() > kHeaderSize + count)
    text += " ...";
  return text;
}

class Server {
 public:
  Server(const ServerOptions& options, std::ostream& log)
      : options_(options), log_(log), instrument_(options.instrument) {
    for (const FaultText& f : options.faults) {
      if (f.unplug)
        instrument_.UnplugAfter(f.unplug_after);
      else
        instrument_.InjectFault(f.fault);
    }
  }

  int Run(int stop_fd) {
    std::string error;
    listener_ = net::ListenUnix(options_.socket_path, error);
    if (listener_.fd < 0) {
      log_ << "korvelane-sim: " << error << "\n";
      return 1;
    }
    Say("listening on " + options_.socket_path);
    for (;;) {
      pollfd p[3] = {{stop_fd, POLLIN, 0}, {listener_.fd, POLLIN, 0}, {client_, POLLIN, 0}};
      const int n = poll(p, client_ >= 0 ? 3 : 2, replugging_ ? Remaining() : -1);
      if (n < 0 && errno != EINTR)
        break;
      if (n > 0 && p[0].revents)
        break;
      if (replugging_ && Remaining() == 0) {
        replugging_ = false;
        instrument_.Plug();
        Say("instrument plugged in again");
      }
      if (n > 0 && (p[1].revents & POLLIN))
        Accept();
      if (n > 0 && client_ >= 0 && p[2].revents)
        Serve();
    }
    net::CloseFd(client_);
    net::RemoveOwnSocket(options_.socket_path, listener_);
    net::CloseFd(listener_.fd);
    Say("stopped");
    return 0;
  }

 private:
  void Say(const std::string& text) {
    if (options_.verbose)
      log_ << "korvelane-sim: " << text << std::endl;
  }

  int Remaining() const { return net::MillisecondsLeft(replug_at_); }

  void Accept() {
    int fd = accept4(listener_.fd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd < 0)
      return;
    if (client_ >= 0 || !instrument_.plugged()) {
      Say(client_ >= 0 ? "busy: connection refused" : "unplugged: connection refused");
      net::CloseFd(fd);
      return;
    }
    client_ = fd;
    stream_.Clear();
    Say("connected");
  }

  void Disconnect(const char* why) {
    net::CloseFd(client_);
    stream_.Clear();
    Say(why);
    // Whoever connects next binds anew, as after replugging the cable.
    if (instrument_.plugged()) {
      instrument_.Unplug();
      instrument_.Plug();
    }
  }

  void Serve() {
    uint8_t bytes[8192];
    const ssize_t n = net::ReceiveWithin(client_, bytes, sizeof bytes, SteadyTime{});
    if (n < 0) {
      Disconnect("disconnected");
      return;
    }
    if (n == 0)
      return;
    stream_.Append(bytes, static_cast<size_t>(n));
    std::vector<uint8_t> request;
    while (client_ >= 0 && stream_.Next(request)) {
      const std::vector<uint8_t> answer = instrument_.Exchange(request.data(), request.size());
      ++exchanges_;
      if (options_.verbose)
        log_ << DescribeExchange(exchanges_, request, answer) << std::endl;
      if (!instrument_.plugged()) {
        net::CloseFd(client_);
        Say("instrument unplugged");
        replugging_ = true;
        replug_at_ = net::After(options_.replug_ms);
        return;
      }
      if (!answer.empty() &&
          !net::SendAll(client_, answer.data(), answer.size(), net::After(kSendTimeoutMs))) {
        Disconnect("answer not taken: disconnected");
        return;
      }
    }
  }

  const ServerOptions& options_;
  std::ostream& log_;
  SimulatedInstrument instrument_;
  net::UnixListener listener_;
  int client_ = -1;
  RequestStream stream_;
  uint64_t exchanges_ = 0;
  bool replugging_ = false;
  SteadyTime replug_at_{};
};

}  // namespace

int RunServer(const ServerOptions& options, int stop_fd, std::ostream& log) {
  Server server(options, log);
  return server.Run(stop_fd);
}

std::string DescribeExchange(uint64_t number, const std::vector<uint8_t>& request,
                             const std::vector<uint8_t>& answer) {
  const ByteView req(request.data(), request.size());
  std::string line = "korvelane-sim: #" + std::to_string(number) + " op " +
                     std::to_string(OperationOf(req)) + " [" + HexStart(request, 8) + "] -> ";
  if (answer.empty())
    return line + "no answer";
  const ByteView ans(answer.data(), answer.size());
  return line + "op " + std::to_string(OperationOf(ans)) + " msg_type " +
         std::to_string(MsgType(ans)) + " msg_len " + std::to_string(MsgLen(ans)) + " [" +
         HexStart(answer, 8) + "]";
}

}  // namespace korvelane::sim
