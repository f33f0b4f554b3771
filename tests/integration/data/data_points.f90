! The picture of examples/c/data_points.c drawn by a Fortran program through the module:
! the same data, calls and device argument, so that the two programs' files can be compared.
program data_points
  use stylus
  implicit none
  integer, parameter :: ndata = 10, nmodel = 101
  real :: t(ndata) = [0.5, 1.5, 2.5, 3.5, 4.5, 5.5, 6.5, 7.5, 8.5, 9.5]
  real :: counts(ndata) = [91.0, 66.0, 57.0, 39.0, 34.0, 23.0, 21.0, 14.0, 13.0, 11.0]
  real :: down(ndata) = [9.0, 8.0, 7.5, 6.0, 6.0, 5.0, 4.5, 3.5, 3.5, 3.0]
  real :: up(ndata) = [10.0, 8.5, 8.0, 7.0, 6.5, 5.5, 5.0, 4.5, 4.0, 3.5]
  real :: half_bin(ndata) = 0.25
  real :: tm(nmodel), decay(nmodel), hyperbolic(nmodel)
  character(len=16) :: device
  integer :: i

  do i = 1, nmodel
    tm(i) = 0.1 * real(i - 1)
    decay(i) = 100.0 * exp(-tm(i) / 4.0)
    hyperbolic(i) = 100.0 / ((1.0 + 0.3 * tm(i)) * (1.0 + 0.3 * tm(i)))
  end do

  device = 'PNG'
  if (command_argument_count() > 0) call get_command_argument(1, device)

  call metafl(trim(device))
  call disini()
  call setvlt('RAIN')
  call name('time (s)', 'X')
  call name('counts', 'Y')
  call labdig(-1, 'XY')
  call graf(0.0, 10.0, 0.0, 2.0, 0.0, 120.0, 0.0, 20.0)
  call linwid(2)

  call legini(3)

  call color('BLUE')
  call marker(14)
  call hsymbl(30)
  call incmrk(-1)
  call curve(t, counts, ndata)
  call errcap(24)
  call errbar(t, counts, down, up, ndata)
  call errcap(0)
  call errhor(t, counts, half_bin, half_bin, ndata)

  call color('RED')
  call incmrk(0)
  call curve(tm, decay, nmodel)
  call color('GREEN')
  call dash()
  call marker(1)
  call incmrk(20)
  call curve(tm, hyperbolic, nmodel)

  call solid()
  call color('FORE')
  call leglin('measured', 1)
  call leglin('exponential', 2)
  call leglin('hyperbolic', 3)
  call legend('UR')
  call disfin()

  if (nwarns() /= 0) stop 1
end program data_points
